#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
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

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(a[i])) !=
            LowerAscii(static_cast<unsigned char>(b[i])))
            return false;
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
Classified Classify(std::string_view text) {
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
    for (std::size_t i = 0; i < v.size(); ++i)
        if (IsLineEnd(v[i])) return v.substr(0, i);
    return v;
}

bool HasLineBreak(std::string_view v) {
    return std::any_of(v.begin(), v.end(), [](char c) { return IsLineEnd(c); });
}

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
        std::uint8_t endLen = 0;
        LineKind kind = LineKind::Other;

        std::string_view text() const { return {data, textLen}; }
        std::string_view all() const { return {data, std::size_t(textLen) + endLen}; }
        std::string_view rawValue() const {
            return TrimRight(std::string_view(data + valueStart, textLen - valueStart));
        }
    };
    struct Section {
        std::string_view name;   // as spelled in its header; empty for the preamble
        std::vector<Line> lines; // lines[0] is the header, except for the preamble
        bool hasHeader = false;
    };
    // Open-addressing table (section, key) -> line index; the first entry of a key wins.
    struct Slot {
        std::uint64_t hash = 0;
        const char* key = nullptr;  // null = empty slot
        std::uint32_t keyLen = 0;
        std::uint32_t section = 0;
        std::uint32_t line = 0;
    };

    std::string source;
    std::vector<std::unique_ptr<char[]>> chunks;
    char* chunkPos = nullptr;
    std::size_t chunkLeft = 0;

    std::vector<Section> sections;  // sections[0] is the text before the first header
    std::unordered_map<std::string_view, std::uint32_t, NoCaseHash, NoCaseEqual> sectionIndex;
    std::vector<Slot> slots;
    std::size_t slotCount = 0;
    std::size_t totalSize = 0;
    bool modified = false;
    mutable std::uint32_t lastSection = 0;
    mutable bool lastValid = false;

    void reset() {
        source.clear();
        chunks.clear();
        chunkPos = nullptr;
        chunkLeft = 0;
        sections.clear();
        sections.emplace_back();
        sectionIndex.clear();
        slots.assign(1024, Slot{});
        slotCount = 0;
        totalSize = 0;
        modified = false;
        lastValid = false;
    }

    char* allocate(std::size_t n) {
        if (n > chunkLeft) {
            const std::size_t size = std::max<std::size_t>(n, 1u << 20);
            chunks.push_back(std::make_unique<char[]>(size));
            chunkPos = chunks.back().get();
            chunkLeft = size;
        }
        char* p = chunkPos;
        chunkPos += n;
        chunkLeft -= n;
        return p;
    }

    static std::uint64_t slotHash(std::uint32_t section, std::string_view key) {
        std::uint64_t h = HashNoCase(key) ^ (static_cast<std::uint64_t>(section) * 0xD6E8FEB86659FD93ull);
        h ^= h >> 32;
        return h | 1;  // never 0
    }

    void growSlots() {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        const std::size_t mask = slots.size() - 1;
        for (const Slot& s : old) {
            if (!s.key) continue;
            std::size_t i = s.hash & mask;
            while (slots[i].key) i = (i + 1) & mask;
            slots[i] = s;
        }
    }

    const Slot* findSlot(std::uint32_t section, std::string_view key) const {
        const std::uint64_t h = slotHash(section, key);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot& s = slots[i];
            if (!s.key) return nullptr;
            if (s.hash == h && s.section == section &&
                EqualsNoCase(std::string_view(s.key, s.keyLen), key))
                return &s;
        }
    }

    // Indexes an entry unless an earlier entry of that key exists.
    void indexEntry(std::uint32_t section, std::string_view key, std::uint32_t line) {
        if ((slotCount + 1) * 2 > slots.size()) growSlots();
        const std::uint64_t h = slotHash(section, key);
        const std::size_t mask = slots.size() - 1;
        std::size_t i = h & mask;
        for (; slots[i].key; i = (i + 1) & mask) {
            const Slot& s = slots[i];
            if (s.hash == h && s.section == section &&
                EqualsNoCase(std::string_view(s.key, s.keyLen), key))
                return;
        }
        slots[i] = Slot{h, key.data(), static_cast<std::uint32_t>(key.size()), section, line};
        ++slotCount;
    }

    void addParsedLine(const char* data, std::size_t textLen, std::size_t endLen) {
        Line line;
        line.data = data;
        line.textLen = static_cast<std::uint32_t>(textLen);
        line.endLen = static_cast<std::uint8_t>(endLen);
        const Classified c = Classify(line.text());
        line.kind = c.kind;
        line.valueStart = c.valueStart;
        if (c.kind == LineKind::Header) {
            Section s;
            s.name = c.name;
            s.hasHeader = true;
            s.lines.push_back(line);
            const auto index = static_cast<std::uint32_t>(sections.size());
            sections.push_back(std::move(s));
            sectionIndex.emplace(c.name, index);  // keeps the first of duplicate sections
            return;
        }
        Section& s = sections.back();
        if (c.kind == LineKind::Entry && s.hasHeader)
            indexEntry(static_cast<std::uint32_t>(sections.size() - 1), c.name,
                       static_cast<std::uint32_t>(s.lines.size()));
        else if (c.kind == LineKind::Entry)
            line.kind = LineKind::Other;  // entries before the first header belong to no section
        s.lines.push_back(line);
    }

    void parse() {
        const char* base = source.data();
        const std::size_t n = source.size();
        totalSize = n;
        std::size_t p = 0;
        std::size_t nextLf = 0;  // position of the next '\n' at or after p (n when none)
        bool lfKnown = false;
        while (p < n) {
            if (!lfKnown || nextLf < p) {
                const void* lf = std::memchr(base + p, '\n', n - p);
                nextLf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : n;
                lfKnown = true;
            }
            // A CR before the next LF ends the line there (CR LF, or a CR alone).
            const void* cr = std::memchr(base + p, '\r', nextLf - p);
            std::size_t end, endLen;
            if (cr) {
                end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
                endLen = (end + 1 < n && base[end + 1] == '\n') ? 2 : 1;
            } else {
                end = nextLf;
                endLen = end < n ? 1 : 0;
            }
            addParsedLine(base + p, end - p, endLen);
            p = end + endLen;
        }
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
        const Slot* slot = findSlot(*s, Trim(key));
        return slot ? &sections[*s].lines[slot->line] : nullptr;
    }

    Line makeLine(std::string_view a, std::string_view b, std::string_view c,
                  std::string_view ending) {
        const std::size_t textLen = a.size() + b.size() + c.size();
        char* p = allocate(textLen + ending.size());
        std::memcpy(p, a.data(), a.size());
        std::memcpy(p + a.size(), b.data(), b.size());
        std::memcpy(p + a.size() + b.size(), c.data(), c.size());
        std::memcpy(p + textLen, ending.data(), ending.size());
        Line line;
        line.data = p;
        line.textLen = static_cast<std::uint32_t>(textLen);
        line.endLen = static_cast<std::uint8_t>(ending.size());
        const Classified cl = Classify(line.text());
        line.kind = cl.kind;
        line.valueStart = cl.valueStart;
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
        const std::string_view v = TrimLeft(CutAtLineBreak(value));
        if (HasLineBreak(section) || !IsStorableKey(key, v)) return false;

        const auto found = findSection(section);
        if (!found) {
            endLastLine();
            Section s;
            s.hasHeader = true;
            s.lines.push_back(makeLine("[", section, "]", "\r\n"));
            s.name = Classify(s.lines[0].text()).name;
            s.lines.push_back(makeLine(key, "=", v, "\r\n"));
            const auto index = static_cast<std::uint32_t>(sections.size());
            totalSize += s.lines[0].all().size() + s.lines[1].all().size();
            const std::string_view storedKey = Classify(s.lines[1].text()).name;
            sections.push_back(std::move(s));
            sectionIndex.emplace(sections.back().name, index);
            indexEntry(index, storedKey, 1);
            modified = true;
            return true;
        }

        Section& s = sections[*found];
        if (const Slot* slot = findSlot(*found, key)) {
            Line& line = s.lines[slot->line];
            const std::string_view current(line.data + line.valueStart,
                                           line.textLen - line.valueStart);
            if (current == v || TrimRight(current) == v) return true;
            const std::string_view ending(line.data + line.textLen, line.endLen);
            replaceLine(line, makeLine(std::string_view(line.data, line.valueStart), v, {},
                                       ending));
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
        const std::string_view storedKey = Classify(line.text()).name;
        s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        indexEntry(*found, storedKey, static_cast<std::uint32_t>(at));
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
ReadResult ReadWholeFile(const std::string& path, std::string& out, std::string* error) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return ReadResult::Missing;
        if (error) *error = path + ": " + ErrnoText(err);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = path + ": not a regular file";
        ::close(fd);
        return ReadResult::Failed;
    }
    if (static_cast<std::uint64_t>(st.st_size) > ProfileFile::kMaxFileSize) {
        if (error)
            *error = path + ": the file is larger than " +
                     std::to_string(ProfileFile::kMaxFileSize) + " bytes";
        ::close(fd);
        return ReadResult::Failed;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == out.size()) {
            // The file may have grown since fstat; keep reading up to the limit.
            if (out.size() >= ProfileFile::kMaxFileSize) break;
            out.resize(std::min<std::size_t>(out.size() + 65536, ProfileFile::kMaxFileSize));
        }
        const ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            if (error) *error = path + ": " + ErrnoText(err);
            ::close(fd);
            out.clear();
            return ReadResult::Failed;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(got);
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
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    namespace fs = std::filesystem;
    std::string target = path;
    std::error_code ec;
    if (fs::is_symlink(fs::path(path), ec)) {
        // Replace the file the link names, not the link.
        const fs::path resolved = fs::canonical(fs::path(path), ec);
        if (!ec) target = resolved.string();
    }
    fs::path dir = fs::path(target).parent_path();
    if (dir.empty()) dir = ".";
    const std::string name = fs::path(target).filename().string();
    std::string tmp = (dir / ("." + name + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        if (error) *error = "cannot create a file in " + dir.string() + ": " + ErrnoText(errno);
        return false;
    }
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    int err = 0;
    if (!WriteAll(fd, bytes.data(), bytes.size())) err = errno;
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

bool ProfileFile::load(const std::string& path, std::string* error) {
    impl_->reset();
    const ReadResult r = ReadWholeFile(path, impl_->source, error);
    if (r == ReadResult::Failed) return false;
    impl_->parse();
    return true;
}

void ProfileFile::parse(std::string_view bytes) {
    impl_->reset();
    impl_->source.assign(bytes.data(), bytes.size());
    impl_->parse();
}

std::optional<std::string_view> ProfileFile::findValue(std::string_view section,
                                                       std::string_view key) const {
    const Impl::Line* line = impl_->findEntry(section, key);
    if (!line) return std::nullopt;
    return Unquote(line->rawValue());
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
bool ProfileFile::modified() const { return impl_->modified; }

bool ProfileFile::save(const std::string& path, std::string* error) {
    if (!impl_->modified && (impl_->totalSize == 0 || FileExists(path))) return true;
    if (!ReplaceFileAtomically(path, impl_->bytes(), error)) return false;
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
            std::size_t end = pos;
            while (end < buffer.size() && !IsLineEnd(buffer[end])) ++end;
            if (end == buffer.size() && !eof) break;  // incomplete line: read more
            if (end == buffer.size() && pos == end) { done = true; break; }
            look(std::string_view(buffer).substr(pos, end - pos));
            if (end == buffer.size()) { done = true; break; }
            pos = end + ((buffer[end] == '\r' && end + 1 < buffer.size() && buffer[end + 1] == '\n') ? 2 : 1);
        }
        // Drop what was looked at so memory stays small on long files.
        if (pos > (1u << 20)) {
            buffer.erase(0, pos);
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
