#include "model/projectfile.h"

#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/catalogue.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/layouts/level.h"
#include "model/preferences.h"
#include "platform/messages.h"
#include "platform/temporaries.h"

namespace qb {

namespace {

constexpr const char* kMain = "main";
constexpr std::size_t kPieceBytes = kHexPieceChars / 2;
constexpr const char* kIncompatible =
    "Sorry, this project is not compatible, please update Quillbox!";

// Builds "prefix" + number in a small buffer (section and piece names).
class NumberedName {
public:
    NumberedName(std::string_view prefix, std::uint64_t n) {
        std::memcpy(buffer_, prefix.data(), prefix.size());
        const auto r = std::to_chars(buffer_ + prefix.size(), buffer_ + sizeof buffer_, n);
        size_ = static_cast<std::size_t>(r.ptr - buffer_);
    }
    std::string_view view() const { return {buffer_, size_}; }
    std::string text() const { return std::string(view()); }

private:
    char buffer_[48];
    std::size_t size_;
};

struct HexTables {
    std::array<std::array<char, 2>, 256> encode{};
    // The byte of every pair of characters, indexed by first | second << 8; 0 for a pair that
    // holds anything but a hex digit.
    std::array<std::uint8_t, 65536> pair{};
    constexpr HexTables() {
        constexpr char digits[] = "0123456789abcdef";
        std::array<int, 256> digit{};
        for (int i = 0; i < 256; ++i) {
            encode[i] = {digits[i >> 4], digits[i & 15]};
            digit[i] = -1;
        }
        for (int i = 0; i < 10; ++i) digit['0' + i] = i;
        for (int i = 0; i < 6; ++i) digit['a' + i] = digit['A' + i] = 10 + i;
        for (int hi = 0; hi < 256; ++hi)
            for (int lo = 0; lo < 256; ++lo)
                if (digit[hi] >= 0 && digit[lo] >= 0)
                    pair[hi | lo << 8] = static_cast<std::uint8_t>(digit[hi] << 4 | digit[lo]);
    }
};
const HexTables kHex;

void EncodeHexTo(const Bytes& data, std::string& out) {
    out.resize(data.size() * 2);
    char* p = out.data();
    std::size_t i = 0;
#if defined(__SSE2__)
    // 16 bytes at a time: split into nibbles, turn each into its digit, interleave.
    const __m128i nibble = _mm_set1_epi8(0x0f), nine = _mm_set1_epi8(9);
    const __m128i zero = _mm_set1_epi8('0'), letterGap = _mm_set1_epi8('a' - '0' - 10);
    auto toDigits = [&](__m128i x) {
        return _mm_add_epi8(_mm_add_epi8(x, zero), _mm_and_si128(_mm_cmpgt_epi8(x, nine), letterGap));
    };
    for (; i + 16 <= data.size(); i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data.data() + i));
        const __m128i high = toDigits(_mm_and_si128(_mm_srli_epi16(b, 4), nibble));
        const __m128i low = toDigits(_mm_and_si128(b, nibble));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 2 * i), _mm_unpacklo_epi8(high, low));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 2 * i + 16), _mm_unpackhi_epi8(high, low));
    }
#endif
    for (; i < data.size(); ++i) std::memcpy(p + 2 * i, kHex.encode[data[i]].data(), 2);
}

std::string Damaged(std::string_view what) {
    return "This project cannot be opened: its project.ini " + std::string(what);
}

#if defined(__x86_64__)
// The values of 32 characters taken as hex digits, and in bad the high bit of each character
// that is none (neither c - '0' <= 9 nor lower(c) - 'a' <= 5).
__attribute__((target("avx2"))) inline __m256i HexValuesAvx2(__m256i c, __m256i& bad) {
    const __m256i digit = _mm256_sub_epi8(c, _mm256_set1_epi8('0'));
    const __m256i letter =
        _mm256_sub_epi8(_mm256_or_si256(c, _mm256_set1_epi8(0x20)), _mm256_set1_epi8('a'));
    bad = _mm256_or_si256(bad, _mm256_and_si256(_mm256_adds_epu8(digit, _mm256_set1_epi8(118)),
                                                _mm256_adds_epu8(letter, _mm256_set1_epi8(122))));
    return _mm256_min_epu8(digit, _mm256_adds_epu8(letter, _mm256_set1_epi8(10)));
}

// The same as the SSE2 loop of DecodeHexPairs, 32 bytes at a time, for processors with AVX2
// (chosen at run time). Answers how many bytes it decoded: all of them from 32 on, the last
// block overlapping the one before (each byte depends only on its own pair, and the record
// never overlaps the text). Text holding only hex digits takes the short way; otherwise the
// run is decoded again, zeroing the pairs that hold anything else.
__attribute__((target("avx2"))) std::size_t DecodeHexAvx2(const unsigned char* src,
                                                           std::uint8_t* dst, std::size_t n) {
    if (n < 32) return 0;
    const __m256i pairWeights = _mm256_set1_epi16(0x0110);
    __m256i bad = _mm256_setzero_si256();
    auto quick = [&](std::size_t i) __attribute__((target("avx2"))) {
        const __m256i a = _mm256_maddubs_epi16(
            HexValuesAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 2 * i)), bad),
            pairWeights);
        const __m256i b = _mm256_maddubs_epi16(
            HexValuesAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 2 * i + 32)),
                          bad),
            pairWeights);
        // Packing works within 128-bit lanes; the permute puts the quarters back in order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xd8));
    };
    auto careful = [&](std::size_t i) __attribute__((target("avx2"))) {
        auto pairs = [&](__m256i c) __attribute__((target("avx2"))) {
            __m256i charBad = _mm256_setzero_si256();
            const __m256i value = HexValuesAvx2(c, charBad);
            // 16-bit lanes whose two characters are both digits.
            const __m256i pairGood = _mm256_cmpeq_epi16(
                _mm256_and_si256(charBad, _mm256_set1_epi8(static_cast<char>(0x80))),
                _mm256_setzero_si256());
            return _mm256_and_si256(_mm256_maddubs_epi16(value, pairWeights), pairGood);
        };
        const __m256i a = pairs(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 2 * i)));
        const __m256i b =
            pairs(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 2 * i + 32)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xd8));
    };
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) quick(i);
    if (i < n) quick(n - 32);
    if (_mm256_movemask_epi8(bad) == 0) return n;
    for (i = 0; i + 32 <= n; i += 32) careful(i);
    if (i < n) careful(n - 32);
    return n;
}
const bool kHasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
#endif

} // namespace

std::string EncodeHex(const Bytes& data) {
    std::string out;
    EncodeHexTo(data, out);
    return out;
}

namespace {

// Decodes n digit pairs of src into dst.
void DecodeHexPairs(const char* text, std::uint8_t* dst, std::size_t n) {
    const auto* src = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
#if defined(__x86_64__)
    if (kHasAvx2) i = DecodeHexAvx2(src, dst, n);
#endif
#if defined(__SSE2__)
    // 16 bytes at a time: split the 32 characters into high and low digits, map each to its
    // value, and zero the bytes of pairs that hold anything but hex digits.
    const __m128i evenMask = _mm_set1_epi16(0x00ff);
    auto digits = [](__m128i c, __m128i& valid) {
        const __m128i isDigit = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(c, _mm_set1_epi8('0')), c),
                                              _mm_cmpeq_epi8(_mm_min_epu8(c, _mm_set1_epi8('9')), c));
        const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
        const __m128i isLetter =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(lower, _mm_set1_epi8('a')), lower),
                          _mm_cmpeq_epi8(_mm_min_epu8(lower, _mm_set1_epi8('f')), lower));
        valid = _mm_or_si128(isDigit, isLetter);
        return _mm_or_si128(_mm_and_si128(isDigit, _mm_sub_epi8(c, _mm_set1_epi8('0'))),
                            _mm_and_si128(isLetter, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10))));
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i + 16));
        const __m128i high = _mm_packus_epi16(_mm_and_si128(a, evenMask), _mm_and_si128(b, evenMask));
        const __m128i low = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        __m128i validHigh, validLow;
        const __m128i h = digits(high, validHigh);
        const __m128i l = digits(low, validLow);
        const __m128i bytes = _mm_or_si128(_mm_slli_epi16(h, 4), l);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_and_si128(bytes, _mm_and_si128(validHigh, validLow)));
    }
#endif
    for (; i < n; ++i) dst[i] = kHex.pair[src[2 * i] | src[2 * i + 1] << 8];
}

} // namespace

std::size_t DecodeHexInto(std::string_view text, Bytes& out, std::size_t offset) {
    if (offset >= out.size()) return 0;
    const std::size_t n = std::min(text.size() / 2, out.size() - offset);
    DecodeHexPairs(text.data(), out.data() + offset, n);
    return n;
}

namespace {

// The number k of a key spelled as "lpDatiOggetto_" and k would be (in any case), or 0.
std::size_t PieceNumberOf(std::string_view key) {
    constexpr std::string_view kPrefix = "lpdatioggetto_";
    if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 9) return 0;
    if (std::memcmp(key.data(), "lpDatiOggetto_", kPrefix.size()) != 0) {  // as written, usually
        for (std::size_t i = 0; i < kPrefix.size(); ++i) {
            const char c = key[i];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != kPrefix[i]) return 0;
        }
    }
    if (key[kPrefix.size()] == '0') return 0;  // never written with leading zeros
    std::size_t k = 0;
    for (char c : key.substr(kPrefix.size())) {
        if (c < '0' || c > '9') return 0;
        k = k * 10 + static_cast<std::size_t>(c - '0');
    }
    return k;
}

// Finds the pieces of object records and decodes them, keeping its room from one record to
// the next.
class RecordReader {
public:
    // Finds the pieces of a record of size bytes in its section (the first entry of each key
    // counts, as for any lookup), each cut to the digits of its slice, in one pass over the
    // section; answers how many of the record's bytes they carry. With wholeOnly it answers 0
    // at once when the section has too few piece entries to carry all of it, so that the work
    // stays in proportion to the section rather than to the size it claims.
    std::size_t find(const ProfileFile& file, std::string_view section, std::size_t size,
                     bool wholeOnly = false) {
        const std::size_t pieceCount = (size + kPieceBytes - 1) / kPieceBytes;
        candidates_.clear();
        file.forEachEntry(section, [&](std::string_view key, std::string_view value) {
            const std::size_t k = PieceNumberOf(key);
            if (k != 0 && k <= pieceCount) candidates_.push_back({k, value});
        });
        if (wholeOnly && candidates_.size() < pieceCount) return 0;
        pieces_.assign(pieceCount, std::string_view());
        found_.assign(pieceCount, 0);
        for (const auto& [k, value] : candidates_) {
            if (found_[k - 1]) continue;
            found_[k - 1] = 1;
            pieces_[k - 1] = value;
        }
        std::size_t carried = 0;
        for (std::size_t k = 0; k < pieceCount; ++k) {
            const std::size_t slice = std::min<std::size_t>(kPieceBytes, size - k * kPieceBytes);
            pieces_[k] = pieces_[k].substr(0, std::min(pieces_[k].size(), 2 * slice));
            carried += pieces_[k].size() / 2;
        }
        return carried;
    }

    // The record of the pieces found last: each fills its 120-byte slice as far as its digits
    // go, the rest of the slice is zero.
    Bytes decode(std::size_t size, std::size_t carried) {
        Bytes data;
        if (carried == size) {
            // Every slice is whole: decode into room that stays in the cache and copy the
            // record in one go, so its memory is written once instead of being cleared first.
            if (scratch_.size() < size) scratch_.resize(size);
            for (std::size_t k = 0; k < pieces_.size(); ++k)
                DecodeHexPairs(pieces_[k].data(), scratch_.data() + k * kPieceBytes,
                               pieces_[k].size() / 2);
            data.assign(scratch_.data(), scratch_.data() + size);
            return data;
        }
        data.assign(size, 0);
        for (std::size_t k = 0; k < pieces_.size(); ++k)
            DecodeHexInto(pieces_[k], data, k * kPieceBytes);
        return data;
    }

private:
    std::vector<std::pair<std::size_t, std::string_view>> candidates_;  // in file order
    std::vector<std::string_view> pieces_;
    std::vector<char> found_;
    std::vector<std::uint8_t> scratch_;
};

// The object number of a section named like those ReadProject asks for ("oggetto" and a
// number written without leading zeros, in any case), below the loader's object limit.
std::optional<std::size_t> ObjectNumberOf(std::string_view section) {
    constexpr std::string_view kPrefix = "oggetto";
    if (section.size() <= kPrefix.size() || section.size() > kPrefix.size() + 6) return {};
    for (std::size_t i = 0; i < kPrefix.size(); ++i)
        if ((section[i] | 0x20) != kPrefix[i]) return {};
    const std::string_view digits = section.substr(kPrefix.size());
    if (digits.size() > 1 && digits[0] == '0') return {};
    std::size_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return {};
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (n >= kMaxObjectsOnLoad) return {};
    return n;
}

} // namespace

void WriteProjectKeys(const ProjectRecord& project, ProfileFile& file) {
    file.setString(kMain, "sNomeProgetto", CutText(project.sNomeProgetto, kMaxNameLength));
    file.setInt(kMain, "tipoGioco", static_cast<std::int32_t>(project.tipoGioco));
    file.setInt(kMain, "nOggetti", static_cast<std::int32_t>(project.objectCount()));
    file.setInt(kMain, "versioneProgetto", kProjectVersion);
    std::string hex;
    for (std::size_t i = 0; i < project.objects.size(); ++i) {
        const ObjectRecord& o = project.objects[i];
        const NumberedName section("oggetto", i);
        const std::string_view s = section.view();
        file.setInt(s, "IDoggetto", o.IDoggetto);
        file.setInt(s, "tipoOggetto", static_cast<std::int32_t>(o.tipoOggetto));
        file.setInt(s, "sottoTipoOggetto", static_cast<std::int32_t>(o.sottoTipoOggetto));
        file.setString(s, "sDescrizione", CutText(o.sDescrizione, kMaxNameLength));
        file.setInt(s, "dimDatiOggetto", static_cast<std::int32_t>(o.dimDatiOggetto()));
        EncodeHexTo(o.lpDatiOggetto, hex);
        const std::string_view all(hex);
        for (std::size_t k = 0; k * kHexPieceChars < all.size(); ++k)
            file.setString(s, NumberedName("lpDatiOggetto_", k + 1).view(),
                           all.substr(k * kHexPieceChars, kHexPieceChars));
    }
}

std::string WhyItWouldNotLoad(const ProjectRecord& project, const ProfileFile& file) {
    // What the loader refuses is never written: a file that cannot be opened again would lock
    // the user out of the whole project.
    if (project.objects.size() > kMaxObjectsOnLoad)
        return "a project holds at most " + std::to_string(kMaxObjectsOnLoad) + " objects";
    for (const ObjectRecord& o : project.objects)
        if (o.lpDatiOggetto.size() > kMaxRecordSizeOnLoad)
            return "\"" + o.sDescrizione + "\" would hold more than " +
                   std::to_string(kMaxRecordSizeOnLoad) + " bytes";
    if (file.size() > ProfileFile::kMaxFileSize)
        return "project.ini would be larger than " + std::to_string(ProfileFile::kMaxFileSize) +
               " bytes";
    if (file.lineCount() > ProfileFile::kMaxLines || file.sectionCount() > ProfileFile::kMaxSections)
        return "project.ini would hold more than " + std::to_string(ProfileFile::kMaxLines) +
               " lines or " + std::to_string(ProfileFile::kMaxSections) + " sections";
    return {};
}

bool LoadProjectDocument(const std::string& path, ProfileFile& file, std::string* error) {
    // A link in place of project.ini (a shared folder may hold one) is neither read nor written
    // through: the save replaces the link with the project's own file.
    if (IsSymbolicLink(path)) {
        file = ProfileFile();
        return true;
    }
    return file.load(path, error);
}

bool SaveProject(int projectIndex) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return false;
    std::string error;
    bool saved = false;
    {
        WaitCursor wait;
        if (project->sPathProgetto.empty()) {
            error = "the project has no folder";
        } else {
            const std::string path = JoinPath(project->sPathProgetto, kProjectFileName);
            ProfileFile file;
            if (LoadProjectDocument(path, file, &error)) {
                WriteProjectKeys(*project, file);
                error = WhyItWouldNotLoad(*project, file);
                if (error.empty()) {
                    RemoveStaleTemporaries(project->sPathProgetto);
                    // The bytes about to be replaced are kept first, so the change can be
                    // undone; an unchanged document writes nothing and keeps nothing.
                    if (file.modified()) KeepVersionBeforeChange(project->sPathProgetto);
                    saved = file.save(path, &error);
                }
            }
        }
    }
    if (!saved) ShowMessage("The project could not be saved (" + error + ").");
    return saved;
}

namespace {

// Records decoded while the file was read, by object number (empty when not done then).
using PreparedRecords = std::vector<Bytes>;

// Gives the objects at those positions new IDs, one more than the largest each, in order.
void GiveNewIds(ProjectRecord& project, const std::vector<std::size_t>& positions) {
    if (positions.empty()) return;
    std::vector<std::int32_t> ids;
    ids.reserve(positions.size());
    NewObjectIds(project, positions.size(), ids);
    for (std::size_t k = 0; k < positions.size(); ++k)
        project.objects[positions[k]].IDoggetto = ids[k];
}

// Decodes the record of an object section just parsed, while its lines are still in the cache,
// when the file carries all of it (so the memory taken stays within the file's size).
void PrepareRecord(const ProfileFile& file, std::string_view section, PreparedRecords& prepared,
                   RecordReader& reader) {
    const std::optional<std::size_t> n = ObjectNumberOf(section);
    if (!n) return;
    const auto size = static_cast<std::uint32_t>(file.getInt(section, "dimDatiOggetto", 0));
    if (size == 0 || size > kMaxRecordSizeOnLoad) return;
    if (reader.find(file, section, size, true) != size) return;
    if (prepared.size() <= *n) prepared.resize(*n + 1);
    prepared[*n] = reader.decode(size, size);
}

bool ReadProjectWith(const ProfileFile& file, const std::string& folder, ProjectRecord& out,
                     std::string* error, PreparedRecords* prepared, std::string* notice) {
    auto refuse = [&](std::string text) {
        if (error) *error = std::move(text);
        return false;
    };
    const auto gameType = static_cast<std::uint32_t>(file.getInt(kMain, "tipoGioco", 0));
    const std::string name = file.getString(kMain, "sNomeProgetto", "", kDescriptionField);
    const std::int32_t count = file.getInt(kMain, "nOggetti", 0);
    const std::int32_t version = file.getInt(kMain, "versioneProgetto", 1);
    if (version > kProjectVersion) return refuse(kIncompatible);

    if (folder.size() > kMaxPathLength)
        return refuse("This project cannot be opened: the path of its folder is longer than " +
                      std::to_string(kMaxPathLength) + " characters.");
    if (count < 0 || static_cast<std::size_t>(count) > kMaxObjectsOnLoad)
        return refuse(Damaged("gives nOggetti=" + std::to_string(count) + "; a project holds 0 to " +
                              std::to_string(kMaxObjectsOnLoad) + " objects."));

    ProjectRecord project = InitProjectRecord(gameType, name, folder);
    project.objects.reserve(static_cast<std::size_t>(count));
    std::size_t unbacked = 0;  // zero bytes the loader adds beyond the hex digits of the file
    // A missing section or key reads as its default, like any other lookup; the user is told
    // once that the file was incomplete.
    std::size_t missingEntries = 0;
    auto readInt = [&](std::string_view section, std::string_view key) {
        const std::optional<std::string_view> v = file.findValue(section, key);
        if (!v) ++missingEntries;
        return v ? ParseProfileInt(*v, 0) : 0;
    };
    std::vector<std::size_t> withoutId;  // objects whose ID read below 0
    RecordReader reader;
    for (std::int32_t i = 0; i < count; ++i) {
        const NumberedName sectionName("oggetto", static_cast<std::uint64_t>(i));
        const std::string_view section = sectionName.view();
        // In the order they are written, so each lookup finds its key on the line after the
        // last one.
        const std::int32_t id = readInt(section, "IDoggetto");
        const auto type = static_cast<std::uint32_t>(readInt(section, "tipoOggetto"));
        const auto subtype = static_cast<std::uint32_t>(readInt(section, "sottoTipoOggetto"));
        const std::optional<std::string_view> text = file.findValue(section, "sDescrizione");
        if (!text) ++missingEntries;
        const std::string description =
            text ? std::string(text->substr(0, std::min(text->size(), kDescriptionField - 1)))
                 : std::string();
        const auto size = static_cast<std::uint32_t>(readInt(section, "dimDatiOggetto"));
        if (size > kMaxRecordSizeOnLoad)
            return refuse(Damaged("gives object " + std::to_string(i) + " a data record of " +
                                  std::to_string(size) + " bytes; a record holds at most " +
                                  std::to_string(kMaxRecordSizeOnLoad) + "."));
        Bytes data;
        if (size != 0) {
            const auto at = static_cast<std::size_t>(i);
            if (prepared && at < prepared->size() && (*prepared)[at].size() == size) {
                data = std::move((*prepared)[at]);  // the same section, decoded as it was read
            } else {
                // Look the pieces up first, so that the block is allocated only when the file
                // carries enough of it.
                const std::size_t carried = reader.find(file, section, size);
                if (carried != size) ++missingEntries;
                unbacked += size - carried;
                if (unbacked > kMaxUnbackedBytesOnLoad)
                    return refuse(Damaged("claims far more record data than it holds."));
                data = reader.decode(size, carried);
            }
            // Records written by older versions grow to today's size with zero bytes.
            const std::size_t minimum =
                MinimumSizeOnLoad(type, ConstRecordView(data).u32(layout::level::kEntryCount));
            if (minimum > data.size()) {
                unbacked += minimum - data.size();
                if (minimum > kMaxRecordSizeOnLoad || unbacked > kMaxUnbackedBytesOnLoad)
                    return refuse(Damaged("claims far more record data than it holds."));
                data.resize(minimum, 0);
            }
        }
        // An ID below 0 asks for a new one, given once every ID of the file is known (so it
        // cannot collide with an object further down).
        if (id < 0) withoutId.push_back(project.objects.size());
        AddObject(project, type, subtype, nullptr, 0, description, id < 0 ? 0 : id);
        ObjectRecord& object = project.objects.back();
        object.lpDatiOggetto = std::move(data);
        // The files of file-backed items live in the project folder, wherever it was before.
        if (IsFileBackedType(type) && !object.lpDatiOggetto.empty() &&
            !RebasePath(object.lpDatiOggetto, folder))
            return refuse("This project cannot be opened: the path of the file of \"" +
                          object.sDescrizione + "\" would be longer than " +
                          std::to_string(kMaxPathLength) + " characters in " + folder + ".");
    }
    GiveNewIds(project, withoutId);
    if (notice) {
        notice->clear();
        if (missingEntries || !withoutId.empty()) {
            *notice = "This project's project.ini was incomplete";
            if (missingEntries)
                *notice += ": " + std::to_string(missingEntries) +
                           " missing entries were read as their defaults";
            if (!withoutId.empty())
                *notice += std::string(missingEntries ? "," : ":") + " " +
                           std::to_string(withoutId.size()) + " objects got new IDs";
            *notice += "; the file is completed at the next save.";
        }
    }
    out = std::move(project);
    return true;
}

} // namespace

bool ReadProject(const ProfileFile& file, const std::string& folder, ProjectRecord& out,
                 std::string* error, std::string* notice) {
    return ReadProjectWith(file, folder, out, error, nullptr, notice);
}

bool ReadProjectFile(const std::string& path, const std::string& folder, ProjectRecord& out,
                     std::string* error, std::string* notice) {
    if (IsSymbolicLink(path)) {
        if (error)
            *error = "This project cannot be opened: its project.ini is a symbolic link (" + path +
                     "); a project file must be a file of its own folder.";
        return false;
    }
    ProfileFile file;
    PreparedRecords prepared;
    RecordReader reader;
    std::string why;
    if (!file.load(path, &why, [&](std::string_view section) {
            PrepareRecord(file, section, prepared, reader);
        })) {
        if (error) *error = "This project cannot be opened: " + why;
        return false;
    }
    return ReadProjectWith(file, folder, out, error, &prepared, notice);
}

int LoadProject(const std::string& folderName) {
    return LoadProjectFolder(JoinPath(ProjectsFolder(), folderName));
}

int LoadProjectFolder(const std::string& folder) {
    ProjectRecord project;
    std::string error;
    std::string notice;
    bool ok;
    {
        WaitCursor wait;
        ok = ReadProjectFile(JoinPath(folder, kProjectFileName), folder, project, &error, &notice);
    }
    if (!ok) {
        ShowMessage(error);
        return -1;
    }
    const int index = AppendProject(std::move(project));
    if (!notice.empty()) ShowMessage(notice);
    return index;
}

} // namespace qb
