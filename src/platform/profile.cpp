#include "platform/profile.h"
#include "platform/temporaries.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <climits>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace qb {

namespace {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
inline unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

std::string_view TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}
std::string_view TrimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}
std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool EqualsFolded(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(a[i])) !=
            LowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

inline std::uint64_t Load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Names are short and usually spelled alike: compare them a word at a time in place, and fold
// the case only when the bytes differ.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            if (Load8(p + i) != Load8(q + i)) return EqualsFolded(a, b);
        // The last word overlaps the one before when n is not a multiple of 8.
        return Load8(p + n - 8) == Load8(q + n - 8) || EqualsFolded(a, b);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != q[i]) return EqualsFolded(a, b);
    return true;
}

// A hash that agrees for names equal without regard to ASCII case. Or-ing 0x20 folds the
// letters (and a few punctuation pairs, which only costs an extra comparison).
std::uint64_t HashNoCase(std::string_view s) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        w |= 0x2020202020202020ull;
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    std::uint64_t w = 0;
    for (std::size_t j = 0; i < s.size(); ++i, ++j)
        w |= static_cast<std::uint64_t>(static_cast<unsigned char>(s[i]) | 0x20u) << (8 * j);
    h = (h ^ w) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    return h;
}

struct NoCaseHash {
    std::size_t operator()(std::string_view s) const {
        return static_cast<std::size_t>(HashNoCase(s));
    }
};
struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

enum class LineKind : std::uint8_t { Other, Header, Entry };

struct Classified {
    LineKind kind = LineKind::Other;
    std::string_view name;       // section name of a header, key of an entry (trimmed)
    std::uint32_t valueStart = 0;  // entries: where the value starts (after '=' and blanks)
};

// How a line (without its ending) reads: a header is "[name]" (to the last ']', blanks around
// the name ignored); ';' at the start makes a comment; otherwise a line with '=' is an entry
// whose key is what precedes the first '='.
inline Classified Classify(std::string_view text) {
    Classified c;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return c;
    if (text[i] == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > i) {
            c.kind = LineKind::Header;
            c.name = Trim(text.substr(i + 1, close - i - 1));
            return c;
        }
    }
    if (text[i] == ';') return c;
    const void* eq = std::memchr(text.data() + i, '=', text.size() - i);
    if (!eq) return c;
    const std::size_t eqPos = static_cast<std::size_t>(static_cast<const char*>(eq) - text.data());
    c.kind = LineKind::Entry;
    c.name = TrimRight(text.substr(i, eqPos - i));
    std::size_t v = eqPos + 1;
    while (v < text.size() && IsBlank(text[v])) ++v;
    c.valueStart = static_cast<std::uint32_t>(v);
    return c;
}

bool IsBlankLine(std::string_view text) { return TrimLeft(text).empty(); }

// Position of the first CR or LF at or after p (n when there is none).
std::size_t FindLineEnd(const char* base, std::size_t p, std::size_t n) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; p + 16 <= n; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + p));
        const int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (mask) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (p < n && !IsLineEnd(base[p])) ++p;
    return p;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string CutToBuffer(std::string_view v, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(v.substr(0, std::min(v.size(), bufferSize - 1)));
}

// Values cannot hold a line break: written raw it would start a line of its own (a key the
// caller never meant to write), so a value ends at its first CR or LF.
std::string_view CutAtLineBreak(std::string_view v) {
    if (v.empty()) return v;
    std::size_t end = v.size();
    if (const void* lf = std::memchr(v.data(), '\n', end))
        end = static_cast<std::size_t>(static_cast<const char*>(lf) - v.data());
    if (const void* cr = std::memchr(v.data(), '\r', end))
        end = static_cast<std::size_t>(static_cast<const char*>(cr) - v.data());
    return v.substr(0, end);
}

bool HasLineBreak(std::string_view v) { return CutAtLineBreak(v).size() != v.size(); }

// Whether "key=value" reads back as an entry of that key; keys starting with ';', holding '=',
// or turning the line into a header cannot be stored.
bool IsStorableKey(std::string_view key, std::string_view value) {
    if (HasLineBreak(key)) return false;
    if (!key.empty() && key.front() == ';') return false;
    if (key.find('=') != std::string_view::npos) return false;
    if (!key.empty() && key.front() == '[' &&
        (key.find(']') != std::string_view::npos || value.find(']') != std::string_view::npos))
        return false;
    return true;
}

std::string ErrnoText(int err) { return std::strerror(err); }

// A byte buffer that is not zero-filled first (files are read straight into it).
struct RawBuffer {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;

    void clear() {
        data.reset();
        size = capacity = 0;
    }
    void reserve(std::size_t n) {
        if (n <= capacity) return;
        auto bigger = std::make_unique_for_overwrite<char[]>(n);
        if (size) std::memcpy(bigger.get(), data.get(), size);
        data = std::move(bigger);
        capacity = n;
    }
    void append(const char* p, std::size_t n) {
        if (n == 0) return;
        if (size + n > capacity) reserve(std::max(size + n, capacity * 2));
        std::memcpy(data.get() + size, p, n);
        size += n;
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------

struct ProfileFile::Impl {
    // A line is one contiguous span: its text followed by its ending ("\r\n", "\n", "\r" or
    // nothing for a last line without one). Spans point into the loaded bytes or into the arena,
    // neither of which is ever freed or moved while the document lives, so views stay valid.
    struct Line {
        const char* data = nullptr;
        std::uint32_t textLen = 0;
        std::uint32_t valueStart = 0;
        std::uint32_t keyStart = 0;
        std::uint32_t keyLen = 0;
        std::uint32_t valueLen = 0;  // without trailing blanks
        std::uint8_t endLen = 0;
        LineKind kind = LineKind::Other;
        bool quoted = false;         // the value is a pair of matching quotes around text

        std::string_view text() const { return {data, textLen}; }
        std::string_view all() const { return {data, std::size_t(textLen) + endLen}; }
        std::string_view key() const { return {data + keyStart, keyLen}; }
        // Trimmed and quoted as in the file. Its length and quotes are worked out when the line
        // is read, so asking for a value touches only its first bytes (large files do not stay
        // in the cache between reading a line and asking for it).
        std::string_view rawValue() const { return {data + valueStart, valueLen}; }
        std::string_view value() const {
            return quoted ? std::string_view(data + valueStart + 1, valueLen - 2) : rawValue();
        }
    };
    // Each section has its own open-addressing table key -> line, so that the lookups of one
    // section (saves and loads go section by section) stay in a few cache lines. A slot holds
    // the key's hash in its high half and line index + 1 in its low half; 0 is empty. The first
    // entry of a key wins. The table is built when lookups need it, sized for all the section's
    // entries at once: parsing stays a plain scan, sections nobody asks about cost nothing, and
    // a few lookups near the top of a section (a load reads its first keys) just look through
    // the lines, until that has taken about as long as building the table would.
    struct Section {
        std::string_view name;   // as spelled in its header; empty for the preamble
        std::vector<Line> lines; // lines[0] is the header, except for the preamble
        mutable std::vector<std::uint64_t> table;
        mutable std::uint32_t entries = 0;
        mutable std::uint32_t hint = 0;  // index of the line after the last one found
        mutable std::size_t scanned = 0; // lines looked through by lookups without the table
        mutable bool indexed = false;    // table, entries and duplicates are worked out
        mutable bool duplicates = false; // some key has more than one entry
        bool hasHeader = false;
        std::uint32_t bareLines = 0;     // lines that are a name alone (no '=', no comment)

        static std::uint32_t hashOf(std::string_view key) {
            const std::uint64_t h = HashNoCase(key);
            return static_cast<std::uint32_t>(h ^ (h >> 32));
        }
        // Answers line index + 1, or 0.
        std::uint32_t find(std::string_view key) const {
            if (!indexed) {
                if (scanned < lines.size()) {
                    for (std::size_t i = 0; i < lines.size(); ++i) {
                        const Line& l = lines[i];
                        if (l.kind == LineKind::Entry && l.keyLen == key.size() &&
                            EqualsNoCase(l.key(), key)) {
                            scanned += i + 1;
                            return hint = static_cast<std::uint32_t>(i + 1);
                        }
                    }
                    scanned += lines.size();
                    return 0;
                }
                buildIndex();
            }
            // Loads and saves ask for the keys in file order: try the line after the last one
            // found. Without duplicate keys in the section, a match there is the entry.
            if (!duplicates && hint < lines.size() && lines[hint].kind == LineKind::Entry &&
                EqualsNoCase(lines[hint].key(), key)) {
                // The next lookup most likely wants the next line: start fetching it now.
                if (hint + 1 < lines.size()) {
                    const Line& next = lines[hint + 1];
                    for (std::uint32_t o = 0; o < next.textLen; o += 64)
                        __builtin_prefetch(next.data + o);
                }
                return ++hint;
            }
            if (table.empty()) return 0;
            const std::uint32_t h = hashOf(key);
            const std::size_t mask = table.size() - 1;
            for (std::size_t i = h & mask;; i = (i + 1) & mask) {
                const std::uint64_t slot = table[i];
                if (slot == 0) return 0;
                if (static_cast<std::uint32_t>(slot >> 32) == h) {
                    const auto line = static_cast<std::uint32_t>(slot);
                    if (EqualsNoCase(lines[line - 1].key(), key)) return hint = line;
                }
            }
        }
        // Adds an entry line to a table already built (a table built later finds it anyway).
        void index(std::uint32_t line) {
            if (!indexed) return;
            if ((entries + 1) * 2 > table.size()) grow(table.empty() ? 8 : table.size() * 2);
            insert(line);
        }
        void buildIndex() const {
            std::uint32_t count = 0;
            for (const Line& l : lines) count += l.kind == LineKind::Entry;
            indexed = true;
            entries = 0;
            duplicates = false;
            table.clear();
            if (count == 0) return;
            std::size_t size = 8;
            while (size < 2 * std::size_t(count)) size *= 2;
            table.assign(size, 0);
            // The keys are read one line apart: fetch a few lines ahead, as the file may no
            // longer be in the cache.
            constexpr std::uint32_t kAhead = 16;
            for (std::uint32_t i = 0; i < lines.size() && i < kAhead; ++i)
                __builtin_prefetch(lines[i].data);
            for (std::uint32_t i = 0; i < lines.size(); ++i) {
                if (i + kAhead < lines.size()) __builtin_prefetch(lines[i + kAhead].data);
                if (lines[i].kind == LineKind::Entry) insert(i);
            }
        }
        void insert(std::uint32_t line) const {
            const std::string_view key = lines[line].key();
            const std::uint32_t h = hashOf(key);
            const std::size_t mask = table.size() - 1;
            std::size_t i = h & mask;
            for (; table[i] != 0; i = (i + 1) & mask)
                if (static_cast<std::uint32_t>(table[i] >> 32) == h &&
                    EqualsNoCase(lines[static_cast<std::uint32_t>(table[i]) - 1].key(), key)) {
                    duplicates = true;
                    return;
                }
            table[i] = (static_cast<std::uint64_t>(h) << 32) | (line + 1);
            ++entries;
        }
        void grow(std::size_t size) {
            std::vector<std::uint64_t> old(size, 0);
            old.swap(table);
            const std::size_t mask = table.size() - 1;
            for (std::uint64_t slot : old) {
                if (slot == 0) continue;
                std::size_t i = static_cast<std::uint32_t>(slot >> 32) & mask;
                while (table[i] != 0) i = (i + 1) & mask;
                table[i] = slot;
            }
        }
    };

    RawBuffer source;
    std::vector<std::unique_ptr<char[]>> chunks;
    char* chunkPos = nullptr;
    std::size_t chunkLeft = 0;

    std::vector<Section> sections;  // sections[0] is the text before the first header
    std::vector<Line> pending;      // lines of the last section while it is parsed
    std::unordered_map<std::string_view, std::uint32_t, NoCaseHash, NoCaseEqual> sectionIndex;
    std::size_t totalSize = 0;
    std::size_t parsePos = 0;  // where the first line not parsed yet starts
    std::size_t scanPos = 0;   // how far that line has been searched for its end
    std::size_t lineCount = 0;
    bool tooLarge = false;     // more lines or sections than a document may hold
    bool modified = false;
    mutable std::uint32_t lastSection = 0;
    mutable bool lastValid = false;
    const ProfileFile::SectionParsed* onSectionParsed = nullptr;  // while load() runs

    void reset() {
        source.clear();
        chunks.clear();
        chunkPos = nullptr;
        chunkLeft = 0;
        resetLines();
        totalSize = 0;
        modified = false;
    }

    char* allocate(std::size_t n) {
        if (n > chunkLeft) {
            const std::size_t size = std::max<std::size_t>(n, 1u << 20);
            chunks.push_back(std::make_unique_for_overwrite<char[]>(size));
            chunkPos = chunks.back().get();
            chunkLeft = size;
        }
        char* p = chunkPos;
        chunkPos += n;
        chunkLeft -= n;
        return p;
    }

    // Fills a line in place from how its text reads.
    static void fill(Line& line, const char* data, std::size_t textLen, std::size_t endLen,
                     const Classified& c) {
        line.data = data;
        line.textLen = static_cast<std::uint32_t>(textLen);
        line.endLen = static_cast<std::uint8_t>(endLen);
        line.kind = c.kind;
        line.valueStart = c.valueStart;
        line.keyStart = c.name.empty() ? 0 : static_cast<std::uint32_t>(c.name.data() - data);
        line.keyLen = static_cast<std::uint32_t>(c.name.size());
        line.valueLen = 0;
        line.quoted = false;
        if (c.kind == LineKind::Entry) {
            const std::string_view raw =
                TrimRight(std::string_view(data + c.valueStart, textLen - c.valueStart));
            line.valueLen = static_cast<std::uint32_t>(raw.size());
            line.quoted = Unquote(raw).size() != raw.size();
        }
    }
    static void setKind(Line& line) {
        fill(line, line.data, line.textLen, line.endLen, Classify(line.text()));
    }

    // A line holding a name alone ("versioneProgetto" without '='): Windows takes it for an
    // entry of that key with no value, which a later entry of the key could never override.
    static bool IsBareName(const Line& line) {
        if (line.kind != LineKind::Other) return false;
        const std::string_view t = Trim(line.text());
        return !t.empty() && t.front() != ';';
    }

    // The first line of the section that is the key alone, before its first entry (at, a line
    // index + 1, or 0); answers its line index + 1, or 0.
    static std::uint32_t findBareName(const Section& s, std::string_view key, std::uint32_t at) {
        if (s.bareLines == 0) return 0;
        const std::size_t end = at ? at - 1 : s.lines.size();
        for (std::size_t i = 0; i < end; ++i) {
            const Line& l = s.lines[i];
            if (IsBareName(l) && Trim(l.text()).size() == key.size() &&
                EqualsNoCase(Trim(l.text()), key))
                return static_cast<std::uint32_t>(i + 1);
        }
        return 0;
    }

    void addParsedLine(const char* data, std::size_t textLen, std::size_t endLen) {
        if (++lineCount > ProfileFile::kMaxLines) {
            tooLarge = true;
            return;
        }
        // The line is built where it is kept: parsing is mostly this, once per line.
        const Classified c = Classify(std::string_view(data, textLen));
        if (c.kind == LineKind::Header) {
            if (sections.size() > ProfileFile::kMaxSections) {
                tooLarge = true;
                return;
            }
            finishSection();
            Section& s = sections.emplace_back();
            s.hasHeader = true;
            s.name = c.name;
            fill(pending.emplace_back(), data, textLen, endLen, c);
            const auto index = static_cast<std::uint32_t>(sections.size() - 1);
            sectionIndex.emplace(s.name, index);  // the first of duplicates wins
            return;
        }
        Line& line = pending.emplace_back();
        fill(line, data, textLen, endLen, c);
        if (IsBareName(line)) ++sections.back().bareLines;
        // Entries before the first header belong to no section.
        if (line.kind == LineKind::Entry && !sections.back().hasHeader) line.kind = LineKind::Other;
    }

    // The lines of the section being parsed gather in pending (whose room is kept from one
    // section to the next); a section whose lines are all there gets them in one block.
    void finishSection() {
        if (pending.empty()) return;
        sections.back().lines.assign(pending.begin(), pending.end());
        pending.clear();
        sectionParsed();
    }

    // Parses the complete lines that have arrived in source since the last call; with final,
    // the rest too. Loading calls this while the file is still being read, so each piece is
    // parsed while it is still in the cache.
    void parseSome(bool final) {
        const char* base = source.data.get();
        const std::size_t n = source.size;
        while (parsePos < n && !tooLarge) {
            const std::size_t end = FindLineEnd(base, std::max(parsePos, scanPos), n);
            if (!final && (end == n || (base[end] == '\r' && end + 1 == n))) {
                scanPos = end;  // an unfinished line: go on from here when more has arrived
                return;
            }
            std::size_t endLen = 0;
            if (end < n) endLen = (base[end] == '\r' && end + 1 < n && base[end + 1] == '\n') ? 2 : 1;
            addParsedLine(base + parsePos, end - parsePos, endLen);
            parsePos = end + endLen;
        }
        if (final) {
            totalSize = n;
            if (!tooLarge) finishSection();
            pending = {};
        }
    }

    // Tells the observer of load() that the last section holds all its lines, unless lookups
    // never see it (the preamble, or a later section of a name already taken).
    void sectionParsed() const {
        if (!onSectionParsed || !*onSectionParsed || sections.size() < 2) return;
        const auto last = static_cast<std::uint32_t>(sections.size() - 1);
        const auto it = sectionIndex.find(sections[last].name);
        if (it != sectionIndex.end() && it->second == last) (*onSectionParsed)(sections[last].name);
    }

    void resetLines() {
        sections.clear();
        sections.emplace_back();
        pending.clear();
        sectionIndex.clear();
        parsePos = scanPos = lineCount = 0;
        tooLarge = false;
        lastValid = false;
    }

    std::optional<std::uint32_t> findSection(std::string_view name) const {
        if (lastValid && EqualsNoCase(sections[lastSection].name, name)) return lastSection;
        auto it = sectionIndex.find(name);
        if (it == sectionIndex.end()) return std::nullopt;
        lastSection = it->second;
        lastValid = true;
        return it->second;
    }

    const Line* findEntry(std::string_view section, std::string_view key) const {
        const auto s = findSection(Trim(section));
        if (!s) return nullptr;
        const Section& sec = sections[*s];
        const std::uint32_t line = sec.find(Trim(key));
        return line ? &sec.lines[line - 1] : nullptr;
    }

    Line makeLine(std::string_view a, std::string_view b, std::string_view c,
                  std::string_view ending) {
        const std::size_t textLen = a.size() + b.size() + c.size();
        char* p = allocate(textLen + ending.size());
        char* q = p;
        for (std::string_view part : {a, b, c, ending}) {
            if (part.empty()) continue;  // an empty view may hold no pointer at all
            std::memcpy(q, part.data(), part.size());
            q += part.size();
        }
        Line line;
        line.data = p;
        line.textLen = static_cast<std::uint32_t>(textLen);
        line.endLen = static_cast<std::uint8_t>(ending.size());
        setKind(line);
        return line;
    }

    // The last line of the document gets a CR LF before anything is appended behind it.
    void endLastLine() {
        for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
            if (s->lines.empty()) continue;
            Line& last = s->lines.back();
            if (last.endLen == 0) {
                last = makeLine(last.text(), {}, {}, "\r\n");
                totalSize += 2;
            }
            return;
        }
    }

    void replaceLine(Line& line, const Line& with) {
        totalSize = totalSize - line.all().size() + with.all().size();
        line = with;
        modified = true;
    }

    bool set(std::string_view sectionName, std::string_view keyName, std::string_view value) {
        const std::string_view section = Trim(sectionName);
        const std::string_view key = Trim(keyName);
        // The value is written as given, leading and trailing blanks included (a read trims
        // them again).
        const std::string_view v = CutAtLineBreak(value);
        if (HasLineBreak(section) || !IsStorableKey(key, v)) return false;

        const auto found = findSection(section);
        if (!found) {
            endLastLine();
            Section s;
            s.hasHeader = true;
            s.lines.push_back(makeLine("[", section, "]", "\r\n"));
            s.name = s.lines[0].key();
            s.lines.push_back(makeLine(key, "=", v, "\r\n"));
            const auto index = static_cast<std::uint32_t>(sections.size());
            totalSize += s.lines[0].all().size() + s.lines[1].all().size();
            sections.push_back(std::move(s));
            sectionIndex.emplace(sections.back().name, index);
            modified = true;
            return true;
        }

        Section& s = sections[*found];
        const std::uint32_t entry = s.find(key);
        if (const std::uint32_t bare = findBareName(s, key, entry)) {
            // The key alone on a line becomes the entry, so nothing is left to shadow it.
            Line& line = s.lines[bare - 1];
            const std::string_view ending(line.data + line.textLen, line.endLen);
            replaceLine(line, makeLine(Trim(line.text()), "=", v, ending));  // spelled as there
            --s.bareLines;
            s.indexed = false;  // the key's first entry moved up
            s.scanned = 0;
            s.hint = 0;
            return true;
        }
        if (entry) {
            Line& line = s.lines[entry - 1];
            // Everything after the '=' (the key holds none).
            const std::size_t eq =
                static_cast<std::size_t>(static_cast<const char*>(std::memchr(
                    line.data + line.keyStart, '=', line.textLen - line.keyStart)) - line.data);
            const std::string_view current(line.data + eq + 1, line.textLen - eq - 1);
            if (current == v) return true;
            const bool leadingBlank = !v.empty() && IsBlank(v.front());
            // A hand-made "key = value" keeps its layout: the same value read back changes
            // nothing, and a new value without leading blanks goes where the old one started.
            if (!leadingBlank && !v.empty() && !IsBlank(v.back()) && line.rawValue() == v)
                return true;
            // A line as writers make it ("key=value") gets its whole value replaced; a line
            // laid out by hand ("  a = 1") keeps the blanks in front of its value.
            const bool asWritten = line.keyStart == 0 && eq == line.keyLen;
            const std::size_t keep = leadingBlank || asWritten ? eq + 1 : line.valueStart;
            const std::string_view ending(line.data + line.textLen, line.endLen);
            replaceLine(line, makeLine(std::string_view(line.data, keep), v, {}, ending));
            return true;
        }

        // A new key goes after the section's last non-blank line; blank lines that follow it
        // stay behind the new key.
        std::size_t at = s.lines.size();
        while (at > 1 && s.lines[at - 1].kind == LineKind::Other &&
               IsBlankLine(s.lines[at - 1].text()))
            --at;
        if (at == s.lines.size() && *found == sections.size() - 1) endLastLine();
        Line line = makeLine(key, "=", v, "\r\n");
        totalSize += line.all().size();
        s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        s.index(static_cast<std::uint32_t>(at));
        modified = true;
        return true;
    }

    std::string bytes() const {
        std::string out;
        out.reserve(totalSize);
        for (const Section& s : sections)
            for (const Line& l : s.lines) out.append(l.data, std::size_t(l.textLen) + l.endLen);
        return out;
    }
};

ProfileFile::ProfileFile() : impl_(std::make_unique<Impl>()) { impl_->reset(); }
ProfileFile::~ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;

namespace {

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole file; a missing file (or a missing folder on the way) is not an error.
// arrived() is called after each block read into the space reserved for the file's size;
// *grew tells that the file grew while it was read (the buffer moved, so what arrived() saw
// must be looked at again).
ReadResult ReadWholeFile(const std::string& path, RawBuffer& out, std::string* error,
                         const std::function<void()>& arrived = {}, bool* grew = nullptr) {
    out.clear();
    // A FIFO or device is never opened: opening one for reading could wait for ever.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return ReadResult::Missing;
        if (error) *error = path + ": " + ErrnoText(err);
        return ReadResult::Failed;
    }
    if (!S_ISREG(before.st_mode)) {
        if (error) *error = path + ": not a regular file";
        return ReadResult::Failed;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return ReadResult::Missing;
        if (error) *error = path + ": " + ErrnoText(err);
        return ReadResult::Failed;
    }
    auto fail = [&](std::string why) {
        if (error) *error = path + ": " + why;
        ::close(fd);
        out.clear();
        return ReadResult::Failed;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return fail("not a regular file");
    if (static_cast<std::uint64_t>(st.st_size) > ProfileFile::kMaxFileSize)
        return fail("the file is larger than " + std::to_string(ProfileFile::kMaxFileSize) +
                    " bytes");
    out.reserve(static_cast<std::size_t>(st.st_size));
    char more[65536];
    bool grown = false;
    for (;;) {
        // Into the buffer while it has room, then into a side buffer in case the file grew
        // since fstat (it is appended up to the size limit).
        const bool room = out.size < out.capacity;
        constexpr std::size_t kBlock = 512 * 1024;
        const ssize_t r =
            room ? ::read(fd, out.data.get() + out.size, std::min(out.capacity - out.size, kBlock))
                 : ::read(fd, more, sizeof more);
        if (r < 0) {
            if (errno == EINTR) continue;
            return fail(ErrnoText(errno));
        }
        if (r == 0) break;
        if (room) {
            out.size += static_cast<std::size_t>(r);
            if (arrived && !grown) arrived();
        } else {
            grown = true;
            if (out.size + static_cast<std::size_t>(r) > ProfileFile::kMaxFileSize)
                return fail("the file grew past the size limit while it was read");
            out.append(more, static_cast<std::size_t>(r));
        }
    }
    if (grew) *grew = grown;
    ::close(fd);
    return ReadResult::Ok;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t w = ::write(fd, data, std::min<std::size_t>(size, 1u << 30));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += w;
        size -= static_cast<std::size_t>(w);
    }
    return true;
}

} // namespace

// Writes the bytes to a temporary file beside the target, flushes them to disk and renames it
// over the target, so a reader (or a crash) sees either the old file or the new one whole.
namespace {

// Writes a list of spans with as few system calls as the kernel allows, coping with short
// writes.
bool WriteSpans(int fd, std::vector<iovec>& spans) {
    std::size_t first = 0;
    while (first < spans.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(spans.size() - first, IOV_MAX));
        const ssize_t w = ::writev(fd, spans.data() + first, count);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        auto left = static_cast<std::size_t>(w);
        while (first < spans.size() && left >= spans[first].iov_len) left -= spans[first++].iov_len;
        if (left) {
            spans[first].iov_base = static_cast<char*>(spans[first].iov_base) + left;
            spans[first].iov_len -= left;
        }
    }
    return true;
}

// The temporary-file-and-rename protocol around a function that writes the new contents.
bool ReplaceFileWith(const std::string& path, const std::function<bool(int)>& write,
                     std::string* error) {
    namespace fs = std::filesystem;
    // A link at the path is replaced by the new file; what it points to is never written.
    const std::string target = path;
    fs::path dir = fs::path(target).parent_path();
    if (dir.empty()) dir = ".";
    const std::string name = fs::path(target).filename().string();
    std::string tmp = TemporaryNameFor(dir.string(), name) + "XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        if (error) *error = "cannot create a file in " + dir.string() + ": " + ErrnoText(errno);
        return false;
    }
    struct stat st {};
    mode_t mode;
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    int err = 0;
    if (!write(fd)) err = errno ? errno : EIO;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(tmp.c_str());
        if (error) *error = "cannot write " + target + ": " + ErrnoText(err);
        return false;
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    return ReplaceFileWith(path, [&](int fd) { return WriteAll(fd, bytes.data(), bytes.size()); },
                           error);
}

bool ProfileFile::load(const std::string& path, std::string* error) {
    return load(path, error, SectionParsed());
}

bool ProfileFile::load(const std::string& path, std::string* error,
                       const SectionParsed& sectionParsed) {
    impl_->reset();
    struct Observing {
        Impl& impl;
        ~Observing() { impl.onSectionParsed = nullptr; }
    } observing{*impl_};
    impl_->onSectionParsed = &sectionParsed;
    bool grew = false;
    const ReadResult r =
        ReadWholeFile(path, impl_->source, error, [this] { impl_->parseSome(false); }, &grew);
    if (r == ReadResult::Failed) {
        impl_->reset();
        return false;
    }
    if (grew) impl_->resetLines();  // the lines parsed so far point into the old buffer
    impl_->parseSome(true);
    if (impl_->tooLarge) {
        impl_->reset();
        if (error)
            *error = path + ": more than " + std::to_string(kMaxLines) + " lines or " +
                     std::to_string(kMaxSections) + " sections";
        return false;
    }
    return true;
}

bool ProfileFile::parse(std::string_view bytes) {
    impl_->reset();
    if (bytes.size() <= kMaxFileSize) {
        impl_->source.append(bytes.data(), bytes.size());
        impl_->parseSome(true);
        if (!impl_->tooLarge) return true;
    }
    impl_->reset();
    return false;
}

std::optional<std::string_view> ProfileFile::findValue(std::string_view section,
                                                       std::string_view key) const {
    const Impl::Line* line = impl_->findEntry(section, key);
    if (!line) return std::nullopt;
    return line->value();
}

void ProfileFile::forEachEntry(std::string_view section, const EntryVisitor& visit) const {
    const auto s = impl_->findSection(Trim(section));
    if (!s) return;
    for (const Impl::Line& line : impl_->sections[*s].lines)
        if (line.kind == LineKind::Entry) visit(line.key(), line.value());
}

std::string ProfileFile::getString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, std::size_t bufferSize) const {
    if (const auto v = findValue(section, key)) return CutToBuffer(*v, bufferSize);
    return CutToBuffer(TrimRight(defaultValue), bufferSize);
}

std::int32_t ProfileFile::getInt(std::string_view section, std::string_view key,
                                 std::int32_t defaultValue) const {
    const auto v = findValue(section, key);
    return v ? ParseProfileInt(*v, defaultValue) : defaultValue;
}

bool ProfileFile::hasKey(std::string_view section, std::string_view key) const {
    return impl_->findEntry(section, key) != nullptr;
}

bool ProfileFile::hasSection(std::string_view section) const {
    return impl_->findSection(Trim(section)).has_value();
}

bool ProfileFile::setString(std::string_view section, std::string_view key,
                            std::string_view value) {
    return impl_->set(section, key, value);
}

bool ProfileFile::setInt(std::string_view section, std::string_view key, std::int64_t value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return impl_->set(section, key, std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer)));
}

std::string ProfileFile::bytes() const { return impl_->bytes(); }
std::size_t ProfileFile::size() const { return impl_->totalSize; }
std::size_t ProfileFile::lineCount() const {
    std::size_t n = 0;
    for (const Impl::Section& section : impl_->sections) n += section.lines.size();
    return n;
}
std::size_t ProfileFile::sectionCount() const { return impl_->sections.size() - 1; }
bool ProfileFile::modified() const { return impl_->modified; }

bool ProfileFile::save(const std::string& path, std::string* error) {
    if (!impl_->modified && (impl_->totalSize == 0 || FileExists(path))) return true;
    // The lines are written where they lie (mostly in the loaded bytes, in long runs), without
    // first gathering a copy of the whole document.
    const auto writeLines = [this](int fd) {
        std::vector<iovec> spans;
        for (const Impl::Section& section : impl_->sections) {
            for (const Impl::Line& line : section.lines) {
                const std::size_t len = std::size_t(line.textLen) + line.endLen;
                if (!spans.empty() &&
                    static_cast<const char*>(spans.back().iov_base) + spans.back().iov_len ==
                        line.data &&
                    spans.back().iov_len < (1u << 30))
                    spans.back().iov_len += len;
                else if (len)
                    spans.push_back({const_cast<char*>(line.data), len});
            }
        }
        return WriteSpans(fd, spans);
    };
    if (!ReplaceFileWith(path, writeLines, error)) return false;
    impl_->modified = false;
    return true;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Finds the raw value (trimmed, still quoted) of a key by reading the file only as far as
// needed: only the first section of that name is searched and the first entry of the key wins,
// exactly as in a loaded document.
std::optional<std::string> ScanFileForValue(const std::string& path, std::string_view section,
                                            std::string_view key) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > ProfileFile::kMaxFileSize) {
        ::close(fd);
        return std::nullopt;
    }
    const std::string_view wantSection = Trim(section);
    const std::string_view wantKey = Trim(key);
    std::string buffer;
    std::size_t pos = 0;  // start of the first line not looked at yet
    std::size_t searched = 0;  // how far that line has been searched for its end
    bool inSection = false;
    bool eof = false;
    std::optional<std::string> answer;
    bool done = false;

    auto look = [&](std::string_view text) {
        const Classified c = Classify(text);
        if (c.kind == LineKind::Header) {
            if (inSection) done = true;
            else if (EqualsNoCase(c.name, wantSection)) inSection = true;
        } else if (c.kind == LineKind::Entry && inSection && EqualsNoCase(c.name, wantKey)) {
            answer = std::string(TrimRight(text.substr(c.valueStart)));
            done = true;
        }
    };

    while (!done) {
        if (!eof) {
            const std::size_t old = buffer.size();
            buffer.resize(old + 65536);
            ssize_t r;
            do r = ::read(fd, buffer.data() + old, 65536);
            while (r < 0 && errno == EINTR);
            if (r <= 0) {
                buffer.resize(old);
                eof = true;
            } else {
                buffer.resize(old + static_cast<std::size_t>(r));
            }
            if (buffer.size() > ProfileFile::kMaxFileSize) break;
        }
        while (!done) {
            // A long line is searched for its end only once: the search goes on where the
            // last one stopped.
            const std::size_t end = FindLineEnd(buffer.data(), std::max(pos, searched), buffer.size());
            searched = end;
            if (end == buffer.size() && !eof) break;  // incomplete line: read more
            if (end == buffer.size() && pos == end) { done = true; break; }
            look(std::string_view(buffer).substr(pos, end - pos));
            if (end == buffer.size()) { done = true; break; }
            pos = end + ((buffer[end] == '\r' && end + 1 < buffer.size() && buffer[end + 1] == '\n') ? 2 : 1);
        }
        // Drop what was looked at so memory stays small on long files.
        if (pos > (1u << 20)) {
            buffer.erase(0, pos);
            searched -= std::min(searched, pos);
            pos = 0;
        }
    }
    ::close(fd);
    return answer;
}

} // namespace

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize) {
    if (const auto raw = ScanFileForValue(path, section, key))
        return CutToBuffer(Unquote(*raw), bufferSize);
    return CutToBuffer(TrimRight(defaultValue), bufferSize);
}

std::int32_t ReadProfileInt(const std::string& path, std::string_view section,
                            std::string_view key, std::int32_t defaultValue) {
    if (const auto raw = ScanFileForValue(path, section, key))
        return ParseProfileInt(Unquote(*raw), defaultValue);
    return defaultValue;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    ProfileFile file;
    if (!file.load(path, error)) return false;
    if (!file.setString(section, key, value)) {
        if (error) *error = "the name cannot be stored in a profile file";
        return false;
    }
    return file.save(path, error);
}

std::int32_t ParseProfileInt(std::string_view value, std::int32_t defaultValue) {
    if (value.empty()) return defaultValue;
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    unsigned base = 10;
    if (i + 1 < value.size() && value[i] == '0') {
        switch (value[i + 1]) {
        case 'x': base = 16; i += 2; break;
        case 'o': base = 8; i += 2; break;
        case 'b': base = 2; i += 2; break;
        default: break;
        }
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'z') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z') digit = static_cast<unsigned>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<std::int32_t>(result);
}

} // namespace qb
