#include "model/history.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/folders.h"
#include "model/projectfile.h"
#include "platform/messages.h"
#include "platform/profile.h"
#include "platform/temporaries.h"

namespace qb {

namespace fs = std::filesystem;

namespace {

using u64 = std::uint64_t;

constexpr const char* kIndexHeader = "quillbox-history 1";
constexpr const char* kManifestHeader = "quillbox-version 1";
constexpr const char* kIndexName = "index";
constexpr const char* kObjectsName = "objects";
constexpr const char* kCacheName = "files-cache";
constexpr const char* kLockName = "lock";
constexpr const char* kDefaultLabel = "Save";
// An index or manifest larger than this is not one this program wrote.
constexpr std::size_t kMaxIndexSize = 16u * 1024 * 1024;
// Pieces of project.ini: cut where the content says, between these sizes.
constexpr std::size_t kMinPiece = 32u * 1024;
constexpr std::size_t kMaxPiece = 256u * 1024;
constexpr int kPieceBits = 15;  // about one cut per 32 KiB past the minimum

bool g_enabled = true;
HistoryLimits g_limits;
std::mutex g_noticeMutex;
std::set<std::string> g_told;  // folders whose user was told that history is off

// --- Change labels ---------------------------------------------------------------------------

struct Label {
    std::string what;
    std::int32_t objectId;
};
std::vector<Label>& Labels() {
    static thread_local std::vector<Label> labels;
    return labels;
}

// --- Content hash: two 64-bit lanes over 16-byte blocks, read as little-endian words so the
// names are the same on every machine. --------------------------------------------------------

constexpr u64 kP0 = 0xa0761d6478bd642full, kP1 = 0xe7037ed1a0b428dbull,
              kP2 = 0x8ebc6af09c88c6e3ull, kP3 = 0x589965cc75374cc3ull,
              kP4 = 0x1d8e4e27c47d124full, kP5 = 0x9e3779b97f4a7c15ull,
              kP6 = 0xc2b2ae3d27d4eb4full, kP7 = 0x165667b19e3779f9ull;

inline u64 Mum(u64 a, u64 b) {
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return static_cast<u64>(r) ^ static_cast<u64>(r >> 64);
}
inline u64 Rotl(u64 x, int r) { return (x << r) | (x >> (64 - r)); }
inline u64 Load64(const unsigned char* p) {
    u64 v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

struct Hash128 {
    u64 a, b;
};

Hash128 HashBytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    u64 h1 = kP0 ^ (size * kP5), h2 = kP1 ^ Rotl(size * kP6, 17);
    std::size_t n = size;
    const auto block = [&](const unsigned char* q) {
        const u64 w0 = Load64(q), w1 = Load64(q + 8);
        h1 = Rotl(h1, 23) * kP5 + Mum(w0 ^ kP2, w1 ^ kP3);
        h2 = Rotl(h2, 29) * kP6 + Mum(w0 ^ kP4, w1 ^ kP7);
    };
    for (; n >= 16; n -= 16, p += 16) block(p);
    if (n > 0) {
        unsigned char tail[16] = {};
        std::memcpy(tail, p, n);
        block(tail);
    }
    return {Mum(h1 ^ kP2, h2 ^ kP7) ^ h1, Mum(h2 ^ kP3, h1 ^ kP4) ^ h2};
}

std::string HashText(const Hash128& h) {
    static const char* digits = "0123456789abcdef";
    std::string out(32, '0');
    for (int i = 0; i < 16; ++i) {
        out[static_cast<std::size_t>(15 - i)] = digits[(h.a >> (4 * i)) & 15];
        out[static_cast<std::size_t>(31 - i)] = digits[(h.b >> (4 * i)) & 15];
    }
    return out;
}

bool IsHashText(std::string_view s) {
    return s.size() == 32 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// A short checksum of an index line (FNV-1a, 32 bits).
std::string LineCheck(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    char buffer[9];
    static const char* digits = "0123456789abcdef";
    for (int i = 0; i < 8; ++i) buffer[7 - i] = digits[(h >> (4 * i)) & 15];
    buffer[8] = 0;
    return buffer;
}

// --- Pieces of project.ini, cut by a rolling hash over the last 64 bytes ---------------------

const std::array<u64, 256>& Gear() {
    static const std::array<u64, 256> table = [] {
        std::array<u64, 256> t{};
        u64 x = 0x51bb2a6c0d5e7f31ull;
        for (u64& v : t) {  // splitmix64
            u64 z = (x += 0x9e3779b97f4a7c15ull);
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
            v = z ^ (z >> 31);
        }
        return t;
    }();
    return table;
}

// The length of the piece that starts at data.
std::size_t PieceLength(const unsigned char* data, std::size_t size) {
    if (size <= kMinPiece) return size;
    const std::size_t end = std::min(size, kMaxPiece);
    const auto& gear = Gear();
    u64 h = 0;
    // Only the last 64 bytes count in the hash, so the bytes before them are skipped.
    for (std::size_t i = kMinPiece - 64; i < end; ++i) {
        h = (h << 1) + gear[data[i]];
        if (i >= kMinPiece && (h >> (64 - kPieceBits)) == 0) return i + 1;
    }
    return end;
}

// --- Small text helpers ----------------------------------------------------------------------

std::string Escape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    static const char* digits = "0123456789ABCDEF";
    for (unsigned char c : s) {
        if (c < 0x20 || c == '%' || c == 0x7f) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = s.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

template <class T> bool ParseNumber(std::string_view s, T& out) {
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

std::string ErrnoText(int e) { return std::strerror(e); }

// Reads a whole regular file (never through a link) of at most limit bytes.
bool ReadFile(const std::string& path, std::string& out, std::uint64_t limit,
              std::string* error = nullptr) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (error) *error = "cannot read " + path + ": " + ErrnoText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        if (error) *error = path + " is not a file this history keeps";
        return false;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    out.resize(got);
    return true;
}

bool SyncFolder(const std::string& folder) {
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return false;
    ::fsync(dfd);
    ::close(dfd);
    return true;
}

bool IsKeptFileName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.size() < 5) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".png" || ext == ".mp3";
}

struct FileKey {
    u64 size = 0, mtime = 0, ctime = 0, ino = 0;
    bool operator==(const FileKey&) const = default;
};

FileKey KeyOf(const struct stat& st) {
    return {static_cast<u64>(st.st_size),
            static_cast<u64>(st.st_mtim.tv_sec) * 1000000000ull + static_cast<u64>(st.st_mtim.tv_nsec),
            static_cast<u64>(st.st_ctim.tv_sec) * 1000000000ull + static_cast<u64>(st.st_ctim.tv_nsec),
            static_cast<u64>(st.st_ino)};
}

// --- The index -------------------------------------------------------------------------------

struct Index {
    int next = 1;
    std::vector<HistoryVersion> versions;  // oldest first
    std::vector<int> chain;                // the changes one can undo, oldest first
    std::size_t pos = 0;                   // the current state is chain[pos] (or newer at the end)
    int tip = 0;                           // the state after the last change, kept by an undo
    u64 bytes = 0;                         // bytes of the blobs the versions name

    const HistoryVersion* find(int number) const {
        for (const HistoryVersion& v : versions)
            if (v.number == number) return &v;
        return nullptr;
    }
};

std::string IndexText(const Index& index) {
    std::string out = kIndexHeader;
    out += '\n';
    std::string state = "state\t" + std::to_string(index.next) + '\t' + std::to_string(index.pos) +
                        '\t' + std::to_string(index.tip) + '\t' + std::to_string(index.bytes) + '\t';
    if (index.chain.empty()) state += '-';
    for (std::size_t i = 0; i < index.chain.size(); ++i)
        state += (i ? "," : "") + std::to_string(index.chain[i]);
    out += state + '\t' + LineCheck(state) + '\n';
    for (const HistoryVersion& v : index.versions) {
        std::string line = "v\t" + std::to_string(v.number) + '\t' + std::to_string(v.timeMs) +
                           '\t' + static_cast<char>(v.kind) + '\t' + std::to_string(v.objectId) +
                           '\t' + v.manifest + '\t' + Escape(v.what);
        out += line + '\t' + LineCheck(line) + '\n';
    }
    return out;
}

// Reads the index tolerantly: lines that do not parse or fail their check are skipped, and a
// missing state line is rebuilt from the versions. False only for a file that is not an index.
bool ParseIndex(std::string_view text, Index& index) {
    index = Index();
    std::vector<std::string_view> lines = Split(text, '\n');
    if (lines.empty()) return false;
    const auto strip = [](std::string_view l) {
        return !l.empty() && l.back() == '\r' ? l.substr(0, l.size() - 1) : l;
    };
    if (strip(lines[0]) != kIndexHeader) return false;
    bool haveState = false;
    std::vector<int> chain;
    std::size_t pos = 0;
    int tip = 0;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::string_view line = strip(lines[k]);
        const std::size_t lastTab = line.rfind('\t');
        if (lastTab == std::string_view::npos) continue;
        const std::string_view body = line.substr(0, lastTab);
        if (LineCheck(body) != line.substr(lastTab + 1)) continue;
        const std::vector<std::string_view> f = Split(body, '\t');
        if (f[0] == "v" && f.size() == 7) {
            HistoryVersion v;
            std::int64_t time = 0;
            if (!ParseNumber(f[1], v.number) || v.number <= 0 || !ParseNumber(f[2], time) ||
                f[3].size() != 1 || !ParseNumber(f[4], v.objectId) || !IsHashText(f[5]))
                continue;
            const char kind = f[3][0];
            if (kind != 'C' && kind != 'U' && kind != 'R') continue;
            v.timeMs = time;
            v.kind = static_cast<VersionKind>(kind);
            v.manifest = std::string(f[5]);
            v.what = Unescape(f[6]);
            index.versions.push_back(std::move(v));
        } else if (f[0] == "state" && f.size() == 6) {
            int next = 0;
            u64 bytes = 0;
            if (!ParseNumber(f[1], next) || !ParseNumber(f[2], pos) || !ParseNumber(f[3], tip) ||
                !ParseNumber(f[4], bytes))
                continue;
            chain.clear();
            bool ok = true;
            if (f[5] != "-") {
                for (std::string_view n : Split(f[5], ',')) {
                    int number = 0;
                    if (!ParseNumber(n, number)) ok = false;
                    chain.push_back(number);
                }
            }
            if (!ok) continue;
            index.next = std::max(1, next);
            index.bytes = bytes;
            haveState = true;
        }
    }
    // Oldest first, each number once.
    std::stable_sort(index.versions.begin(), index.versions.end(),
                     [](const HistoryVersion& a, const HistoryVersion& b) { return a.number < b.number; });
    index.versions.erase(std::unique(index.versions.begin(), index.versions.end(),
                                     [](const HistoryVersion& a, const HistoryVersion& b) {
                                         return a.number == b.number;
                                     }),
                         index.versions.end());
    if (!index.versions.empty())
        index.next = std::max(index.next, index.versions.back().number + 1);
    if (haveState) {
        // Only steps whose versions are listed; the position moves with what was left out.
        std::size_t before = 0;
        std::vector<int> valid;
        for (std::size_t i = 0; i < chain.size(); ++i) {
            if (index.find(chain[i])) {
                valid.push_back(chain[i]);
                if (i < pos) ++before;
            }
        }
        index.pos = pos >= chain.size() ? valid.size() : before;
        index.chain = std::move(valid);
        index.tip = index.find(tip) ? tip : 0;
    } else {
        for (const HistoryVersion& v : index.versions)
            if (v.kind == VersionKind::Change) index.chain.push_back(v.number);
        index.pos = index.chain.size();
    }
    return true;
}

// --- Manifests -------------------------------------------------------------------------------

struct Piece {
    std::string hash;
    u64 size = 0;
};
struct ManifestFile {
    std::string name;
    std::string hash;
    u64 size = 0;
};
struct Manifest {
    bool hasIni = false;
    u64 iniSize = 0;
    std::vector<Piece> ini;
    std::vector<ManifestFile> files;
};

std::string ManifestText(const Manifest& m) {
    std::string out = kManifestHeader;
    out += '\n';
    if (!m.hasIni) {
        out += "ini\t-\n";
    } else {
        out += "ini\t" + std::to_string(m.iniSize) + '\t';
        for (std::size_t i = 0; i < m.ini.size(); ++i)
            out += (i ? "," : "") + m.ini[i].hash + ':' + std::to_string(m.ini[i].size);
        if (m.ini.empty()) out += '-';
        out += '\n';
    }
    for (const ManifestFile& f : m.files)
        out += "file\t" + f.hash + '\t' + std::to_string(f.size) + '\t' + Escape(f.name) + '\n';
    return out;
}

bool ParseManifest(std::string_view text, Manifest& m) {
    m = Manifest();
    const std::vector<std::string_view> lines = Split(text, '\n');
    if (lines.empty() || lines[0] != kManifestHeader) return false;
    bool sawIni = false;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        if (lines[k].empty()) continue;
        const std::vector<std::string_view> f = Split(lines[k], '\t');
        if (f[0] == "ini" && f.size() == 2 && f[1] == "-") {
            sawIni = true;
        } else if (f[0] == "ini" && f.size() == 3) {
            if (!ParseNumber(f[1], m.iniSize)) return false;
            m.hasIni = sawIni = true;
            u64 total = 0;
            if (f[2] != "-") {
                for (std::string_view p : Split(f[2], ',')) {
                    const std::size_t colon = p.find(':');
                    Piece piece;
                    if (colon == std::string_view::npos || !IsHashText(p.substr(0, colon)) ||
                        !ParseNumber(p.substr(colon + 1), piece.size))
                        return false;
                    piece.hash = std::string(p.substr(0, colon));
                    total += piece.size;
                    m.ini.push_back(std::move(piece));
                }
            }
            if (total != m.iniSize) return false;
        } else if (f[0] == "file" && f.size() == 4) {
            ManifestFile file;
            if (!IsHashText(f[1]) || !ParseNumber(f[2], file.size)) return false;
            file.hash = std::string(f[1]);
            file.name = Unescape(f[3]);
            // Only plain names directly in the project folder.
            if (file.name.empty() || file.name.find('/') != std::string::npos ||
                file.name == "." || file.name == ".." || !IsKeptFileName(file.name))
                return false;
            m.files.push_back(std::move(file));
        } else {
            return false;
        }
    }
    return sawIni;
}

// --- One project's history folder, locked while open -----------------------------------------

class History {
public:
    explicit History(std::string projectFolder)
        : project_(std::move(projectFolder)),
          root_(JoinPath(project_, kHistoryFolderName)),
          objects_(JoinPath(root_, kObjectsName)) {}
    ~History() {
        if (lockFd_ >= 0) ::close(lockFd_);  // closing releases the lock
    }
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    const std::string& project() const { return project_; }

    // Opens (and with create, makes) the folder and takes the lock. exists receives whether
    // there is a history at all.
    bool open(bool create, std::string* error, bool* exists = nullptr) {
        struct stat st {};
        if (::lstat(root_.c_str(), &st) != 0) {
            if (exists) *exists = false;
            if (!create) return true;
            if (::mkdir(root_.c_str(), 0777) != 0 && errno != EEXIST)
                return fail(error, "cannot create " + root_ + ": " + ErrnoText(errno));
        } else if (!S_ISDIR(st.st_mode)) {
            return fail(error, root_ + " is not a folder");
        }
        if (exists) *exists = true;
        if (::lstat(objects_.c_str(), &st) != 0) {
            if (create && ::mkdir(objects_.c_str(), 0777) != 0 && errno != EEXIST)
                return fail(error, "cannot create " + objects_ + ": " + ErrnoText(errno));
        } else if (!S_ISDIR(st.st_mode)) {
            return fail(error, objects_ + " is not a folder");
        }
        const std::string lock = JoinPath(root_, kLockName);
        lockFd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (lockFd_ < 0) lockFd_ = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (lockFd_ < 0) {
            if (!create) return true;  // reading a history one cannot lock: still readable
            return fail(error, "cannot open " + lock + ": " + ErrnoText(errno));
        }
        while (::flock(lockFd_, LOCK_EX) != 0 && errno == EINTR) {}
        return true;
    }

    bool readIndex(Index& index, std::string* error) {
        const std::string path = JoinPath(root_, kIndexName);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
            index = Index();
            return true;
        }
        std::string text;
        if (!ReadFile(path, text, kMaxIndexSize, error)) return false;
        if (!ParseIndex(text, index)) return fail(error, "the history index is damaged");
        return true;
    }

    bool writeIndex(const Index& index, std::string* error) {
        return ReplaceFileAtomically(JoinPath(root_, kIndexName), IndexText(index), error);
    }

    std::string blobPath(const std::string& hash) const { return JoinPath(objects_, hash); }

    // Stores bytes under their hash unless a blob of that size is there; adds what it wrote
    // to *written.
    bool storeBlob(const std::string& hash, std::string_view bytes, u64* written,
                   std::string* error) {
        const std::string path = blobPath(hash);
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<u64>(st.st_size) == bytes.size())
            return true;
        // Temporary file, data synced, rename; the caller syncs the folder once for all the
        // blobs of a version before the index names them.
        const std::string temporary = TemporaryNameFor(objects_, hash) + "new";
        ::unlink(temporary.c_str());
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) return fail(error, "cannot write in " + objects_ + ": " + ErrnoText(errno));
        std::size_t done = 0;
        int err = 0;
        while (done < bytes.size()) {
            const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                err = w < 0 ? errno : ENOSPC;
                break;
            }
            done += static_cast<std::size_t>(w);
        }
        if (!err && ::fdatasync(fd) != 0) err = errno;
        if (::close(fd) != 0 && !err) err = errno;
        if (!err && ::rename(temporary.c_str(), path.c_str()) != 0) err = errno;
        if (err) {
            ::unlink(temporary.c_str());
            return fail(error, "cannot write " + path + ": " + ErrnoText(err));
        }
        if (written) *written += bytes.size();
        return true;
    }

    // A blob's bytes, checked against its hash and size.
    bool readBlob(const std::string& hash, u64 size, std::string& out, std::string* error) {
        if (!ReadFile(blobPath(hash), out, kMaxHistoryFileSize + kMaxIndexSize) ||
            out.size() != size || ContentHash(out.data(), out.size()) != hash)
            return fail(error, "a file of the history is missing or damaged (" + hash + ")");
        return true;
    }

    bool readManifest(const std::string& hash, Manifest& m, std::string* error) {
        std::string text;
        if (!ReadFile(blobPath(hash), text, kMaxIndexSize) ||
            ContentHash(text.data(), text.size()) != hash || !ParseManifest(text, m))
            return fail(error, "a version of the history is missing or damaged (" + hash + ")");
        return true;
    }

    // --- The files-cache
    void loadCache() {
        if (cacheLoaded_) return;
        cacheLoaded_ = true;
        std::string text;
        if (!ReadFile(JoinPath(root_, kCacheName), text, kMaxIndexSize)) return;
        for (std::string_view line : Split(text, '\n')) {
            const std::vector<std::string_view> f = Split(line, '\t');
            if (f.size() != 6) continue;
            FileKey key;
            if (!ParseNumber(f[1], key.size) || !ParseNumber(f[2], key.mtime) ||
                !ParseNumber(f[3], key.ctime) || !ParseNumber(f[4], key.ino) || !IsHashText(f[5]))
                continue;
            cache_[Unescape(f[0])] = {key, std::string(f[5])};
        }
    }
    void saveCache() {
        if (!cacheChanged_) return;
        std::string text;
        for (const auto& [name, entry] : cache_)
            text += Escape(name) + '\t' + std::to_string(entry.first.size) + '\t' +
                    std::to_string(entry.first.mtime) + '\t' + std::to_string(entry.first.ctime) +
                    '\t' + std::to_string(entry.first.ino) + '\t' + entry.second + '\n';
        ReplaceFileAtomically(JoinPath(root_, kCacheName), text);
        cacheChanged_ = false;
    }
    // The hash of a project file, from the cache when its size, times and inode are the same;
    // content receives its bytes when they had to be read.
    bool hashOf(const std::string& name, const struct stat& st, std::string& hash,
                std::string* content, std::string* error) {
        loadCache();
        const FileKey key = KeyOf(st);
        const auto it = cache_.find(name);
        if (it != cache_.end() && it->second.first == key) {
            hash = it->second.second;
            return true;
        }
        std::string bytes;
        if (!ReadFile(JoinPath(project_, name), bytes, kMaxHistoryFileSize, error)) return false;
        hash = ContentHash(bytes.data(), bytes.size());
        // A file that changed while it was read is hashed again next time.
        struct stat after {};
        if (::lstat(JoinPath(project_, name).c_str(), &after) == 0 && KeyOf(after) == key &&
            bytes.size() == key.size) {
            cache_[name] = {key, hash};
            cacheChanged_ = true;
        }
        if (content) *content = std::move(bytes);
        return true;
    }

    // Keeps the current state of the project folder: answers the manifest's hash (empty when
    // there is nothing to keep). *written receives the bytes of the new blobs.
    bool snapshot(std::string& manifestHash, Manifest& manifest, u64* written, std::string* error) {
        manifest = Manifest();
        const std::string iniPath = JoinPath(project_, kProjectFileName);
        struct stat st {};
        if (::lstat(iniPath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            std::string ini;
            if (!ReadFile(iniPath, ini, ProfileFile::kMaxFileSize, error)) return false;
            manifest.hasIni = true;
            manifest.iniSize = ini.size();
            const auto* data = reinterpret_cast<const unsigned char*>(ini.data());
            for (std::size_t at = 0; at < ini.size();) {
                const std::size_t n = PieceLength(data + at, ini.size() - at);
                const std::string_view piece(ini.data() + at, n);
                Piece p{ContentHash(piece.data(), piece.size()), n};
                if (!storeBlob(p.hash, piece, written, error)) return false;
                manifest.ini.push_back(std::move(p));
                at += n;
            }
        }
        std::error_code ec;
        std::vector<std::string> names;
        for (fs::directory_iterator it(project_, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (IsKeptFileName(name)) names.push_back(name);
        }
        if (ec) return fail(error, "cannot list " + project_ + ": " + ec.message());
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            if (::lstat(JoinPath(project_, name).c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
                static_cast<u64>(st.st_size) > kMaxHistoryFileSize)
                continue;  // links and folders are not the project's files
            ManifestFile file{name, {}, static_cast<u64>(st.st_size)};
            std::string content;
            if (!hashOf(name, st, file.hash, &content, nullptr)) continue;  // vanished meanwhile
            const std::string path = blobPath(file.hash);
            struct stat blob {};
            const bool stored = ::lstat(path.c_str(), &blob) == 0 &&
                                static_cast<u64>(blob.st_size) == file.size;
            if (!stored) {
                if (content.empty() && file.size > 0 &&
                    !ReadFile(JoinPath(project_, name), content, kMaxHistoryFileSize, error))
                    return false;
                // Stored under the hash of what was read now.
                file.hash = ContentHash(content.data(), content.size());
                file.size = content.size();
                if (!storeBlob(file.hash, content, written, error)) return false;
            }
            manifest.files.push_back(std::move(file));
        }
        saveCache();
        if (!manifest.hasIni && manifest.files.empty()) {
            manifestHash.clear();
            return true;
        }
        const std::string text = ManifestText(manifest);
        manifestHash = ContentHash(text.data(), text.size());
        if (!storeBlob(manifestHash, text, written, error)) return false;
        return SyncFolder(objects_) || fail(error, "cannot sync " + objects_);
    }

    // Appends a version, keeps the limits, and writes the index; then removes what no version
    // needs any more.
    bool addVersion(Index& index, VersionKind kind, const std::string& what,
                    std::int32_t objectId, const std::string& manifest, u64 written,
                    std::string* error) {
        HistoryVersion v;
        v.number = index.next++;
        v.timeMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
        v.kind = kind;
        v.objectId = objectId;
        v.what = what;
        v.manifest = manifest;
        index.versions.push_back(v);
        switch (kind) {
        case VersionKind::Change:
            index.chain.resize(std::min(index.pos, index.chain.size()));
            index.chain.push_back(v.number);
            index.pos = index.chain.size();
            index.tip = 0;
            break;
        case VersionKind::Undo:
            if (index.pos >= index.chain.size()) index.tip = v.number;
            if (index.pos > 0) --index.pos;
            break;
        case VersionKind::Redo:
            if (index.pos < index.chain.size()) ++index.pos;
            break;
        }
        index.bytes += written;
        const bool prune =
            index.versions.size() > g_limits.versions || index.bytes > g_limits.bytes;
        std::set<std::string> referenced;
        if (prune && !limit(index, referenced, error)) return false;
        if (!writeIndex(index, error)) return false;
        if (prune) collect(referenced);
        return true;
    }

private:
    bool fail(std::string* error, const std::string& reason) {
        if (error) *error = reason;
        return false;
    }

    // Drops the oldest versions beyond the limits; referenced receives every blob still named.
    bool limit(Index& index, std::set<std::string>& referenced, std::string* error) {
        std::map<std::string, std::pair<int, u64>> counts;  // hash -> versions naming it, size
        std::vector<std::vector<std::string>> named(index.versions.size());
        for (std::size_t i = 0; i < index.versions.size(); ++i) {
            Manifest m;
            std::string text;
            const std::string& hash = index.versions[i].manifest;
            if (!ReadFile(blobPath(hash), text, kMaxIndexSize) ||
                ContentHash(text.data(), text.size()) != hash || !ParseManifest(text, m))
                continue;  // a version whose list is lost: nothing of it can be restored
            std::set<std::string> own{hash};
            std::map<std::string, u64> sizes{{hash, text.size()}};
            for (const Piece& p : m.ini) {
                own.insert(p.hash);
                sizes[p.hash] = p.size;
            }
            for (const ManifestFile& f : m.files) {
                own.insert(f.hash);
                sizes[f.hash] = f.size;
            }
            for (const std::string& h : own) {
                auto& c = counts[h];
                ++c.first;
                c.second = sizes[h];
                named[i].push_back(h);
            }
        }
        u64 total = 0;
        for (const auto& [h, c] : counts) total += c.second;
        std::size_t drop = 0;
        const std::size_t n = index.versions.size();
        while (n - drop > 1 && (n - drop > g_limits.versions || total > g_limits.bytes)) {
            for (const std::string& h : named[drop]) {
                auto& c = counts[h];
                if (--c.first == 0) total -= c.second;
            }
            ++drop;
        }
        std::set<int> dropped;
        for (std::size_t i = 0; i < drop; ++i) dropped.insert(index.versions[i].number);
        index.versions.erase(index.versions.begin(), index.versions.begin() + static_cast<long>(drop));
        std::vector<int> chain;
        std::size_t pos = index.pos;
        for (std::size_t i = 0; i < index.chain.size(); ++i) {
            if (dropped.count(index.chain[i])) {
                if (i < index.pos) --pos;
            } else {
                chain.push_back(index.chain[i]);
            }
        }
        index.chain = std::move(chain);
        index.pos = std::min(pos, index.chain.size());
        if (dropped.count(index.tip)) index.tip = 0;
        index.bytes = total;
        for (const auto& [h, c] : counts)
            if (c.first > 0) referenced.insert(h);
        (void)error;
        return true;
    }

    // Removes the blobs no version names, and temporary files of killed processes.
    void collect(const std::set<std::string>& referenced) {
        RemoveStaleTemporaries(objects_);
        std::error_code ec;
        std::vector<std::string> doomed;
        for (fs::directory_iterator it(objects_, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (IsHashText(name) && !referenced.count(name)) doomed.push_back(it->path().string());
        }
        for (const std::string& path : doomed) ::unlink(path.c_str());
    }

    std::string project_, root_, objects_;
    int lockFd_ = -1;
    bool cacheLoaded_ = false, cacheChanged_ = false;
    std::unordered_map<std::string, std::pair<FileKey, std::string>> cache_;
};

void TellHistoryOff(const std::string& folder, const std::string& reason) {
    {
        std::lock_guard<std::mutex> lock(g_noticeMutex);
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(folder, ec);
        const std::string key = (ec ? fs::path(folder) : canonical).lexically_normal().string();
        if (!g_told.insert(key).second) return;
    }
    ShowMessage(std::string(kHistoryOffNotice) + " (" + reason +
                "): changes are still saved, but they cannot be undone.");
}

// Keeps the current state as a version of that kind. False with a reason.
bool KeepVersion(History& history, Index& index, VersionKind kind, const std::string& what,
                 std::int32_t objectId, std::string* error, bool* kept = nullptr) {
    std::string manifestHash;
    Manifest manifest;
    u64 written = 0;
    if (kept) *kept = false;
    if (!history.snapshot(manifestHash, manifest, &written, error)) return false;
    if (manifestHash.empty()) return true;  // nothing in the folder yet
    if (!history.addVersion(index, kind, what, objectId, manifestHash, written, error))
        return false;
    if (kept) *kept = true;
    return true;
}

// Writes version `target`'s state into the project folder after keeping the current one as a
// version of that kind.
bool RestoreState(History& history, Index& index, const HistoryVersion& target, VersionKind kind,
                  const std::string& what, std::int32_t objectId, std::string* error) {
    Manifest wanted;
    if (!history.readManifest(target.manifest, wanted, error)) return false;
    const std::string& folder = history.project();

    // Every file that differs is written to a temporary file first, each blob checked.
    struct Pending {
        std::string temporary, target;
    };
    std::vector<Pending> pending;
    const auto dropPending = [&pending] {
        for (const Pending& p : pending) ::unlink(p.temporary.c_str());
    };
    const auto writeTemporary = [&](const std::string& name,
                                    const std::vector<Piece>& pieces) -> bool {
        Pending p{TemporaryNameFor(folder, name) + "new", JoinPath(folder, name)};
        ::unlink(p.temporary.c_str());
        const int fd = ::open(p.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (error) *error = "cannot write in " + folder + ": " + ErrnoText(errno);
            return false;
        }
        pending.push_back(p);
        bool ok = true;
        std::string bytes;
        for (const Piece& piece : pieces) {
            if (!history.readBlob(piece.hash, piece.size, bytes, error)) {
                ok = false;
                break;
            }
            std::size_t done = 0;
            while (ok && done < bytes.size()) {
                const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) {
                    if (error) *error = "cannot write " + p.temporary + ": " + ErrnoText(errno);
                    ok = false;
                }
                else done += static_cast<std::size_t>(w);
            }
            if (!ok) break;
        }
        if (ok && ::fsync(fd) != 0) {
            if (error) *error = "cannot write " + p.temporary + ": " + ErrnoText(errno);
            ok = false;
        }
        ::close(fd);
        return ok;
    };

    std::vector<std::string> files;
    for (const ManifestFile& f : wanted.files) {
        struct stat st {};
        const std::string path = JoinPath(folder, f.name);
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<u64>(st.st_size) == f.size) {
            std::string hash;
            if (history.hashOf(f.name, st, hash, nullptr, nullptr) && hash == f.hash) continue;
        }
        if (!writeTemporary(f.name, {Piece{f.hash, f.size}})) {
            dropPending();
            return false;
        }
    }
    if (wanted.hasIni && !writeTemporary(kProjectFileName, wanted.ini)) {
        dropPending();
        return false;
    }

    // The state being left is kept first, so the restore can be undone.
    std::string keepError;
    bool kept = false;
    if (!KeepVersion(history, index, kind, what, objectId, &keepError, &kept)) {
        dropPending();
        if (error) *error = "the current state could not be kept (" + keepError + ")";
        return false;
    }
    // Pictures and sounds first, project.ini last: a process killed in between leaves the
    // project file as it was, with the state before the restore kept.
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (::rename(pending[i].temporary.c_str(), pending[i].target.c_str()) != 0) {
            if (error) *error = "cannot write " + pending[i].target + ": " + ErrnoText(errno);
            for (std::size_t k = i; k < pending.size(); ++k) ::unlink(pending[k].temporary.c_str());
            return false;
        }
    }
    // Pictures and sounds the restored state did not have go; the version kept just now holds
    // them (anything it could not keep stays).
    Manifest left;
    if (kept && history.readManifest(index.versions.back().manifest, left, nullptr)) {
        std::set<std::string> wantedNames;
        for (const ManifestFile& f : wanted.files) wantedNames.insert(f.name);
        for (const ManifestFile& f : left.files)
            if (!wantedNames.count(f.name)) ::unlink(JoinPath(folder, f.name).c_str());
    }
    SyncFolder(folder);
    return true;
}

} // namespace

// --- Public operations -----------------------------------------------------------------------

ChangeLabel::ChangeLabel(std::string what, std::int32_t objectId) {
    Labels().push_back({std::move(what), objectId});
}
ChangeLabel::~ChangeLabel() { Labels().pop_back(); }

std::string CurrentChangeLabel() { return Labels().empty() ? kDefaultLabel : Labels().back().what; }
std::int32_t CurrentChangeObject() { return Labels().empty() ? 0 : Labels().back().objectId; }

std::string ContentHash(const void* data, std::size_t size) {
    return HashText(HashBytes(data, size));
}

void SetHistoryEnabled(bool enabled) { g_enabled = enabled; }
void SetHistoryLimits(const HistoryLimits& limits) { g_limits = limits; }
HistoryLimits CurrentHistoryLimits() { return g_limits; }
bool HistoryEnabled() { return g_enabled; }

void ForgetHistoryNotices() {
    std::lock_guard<std::mutex> lock(g_noticeMutex);
    g_told.clear();
}

void KeepVersionBeforeChange(const std::string& projectFolder) {
    if (!g_enabled || projectFolder.empty()) return;
    // A project not saved yet has nothing to keep (and gets no history folder yet).
    struct stat st {};
    if (::lstat(JoinPath(projectFolder, kProjectFileName).c_str(), &st) != 0) return;
    std::string error;
    History history(projectFolder);
    Index index;
    if (!history.open(true, &error) || !history.readIndex(index, &error) ||
        !KeepVersion(history, index, VersionKind::Change, CurrentChangeLabel(),
                     CurrentChangeObject(), &error))
        TellHistoryOff(projectFolder, error);
}

bool ListHistory(const std::string& projectFolder, std::vector<HistoryVersion>& out,
                 std::string* error) {
    out.clear();
    History history(projectFolder);
    bool exists = false;
    if (!history.open(false, error, &exists)) return false;
    if (!exists) return true;
    Index index;
    if (!history.readIndex(index, error)) return false;
    out = std::move(index.versions);
    return true;
}

bool RestoreVersion(const std::string& projectFolder, int number, std::string* error,
                    std::int32_t* objectId) {
    History history(projectFolder);
    Index index;
    if (!history.open(true, error) || !history.readIndex(index, error)) return false;
    const HistoryVersion* target = index.find(number);
    if (!target) {
        if (error) *error = "there is no version " + std::to_string(number);
        return false;
    }
    const HistoryVersion copy = *target;
    if (objectId) *objectId = copy.objectId;
    return RestoreState(history, index, copy, VersionKind::Change,
                        "Restore version " + std::to_string(number), copy.objectId, error);
}

namespace {

// The version an undo goes back to and the one a redo goes forward to (null when none), and
// the change the step concerns.
const HistoryVersion* UndoTarget(const Index& index) {
    if (index.pos == 0 || index.pos > index.chain.size()) return nullptr;
    return index.find(index.chain[index.pos - 1]);
}
const HistoryVersion* RedoTarget(const Index& index) {
    if (index.pos >= index.chain.size()) return nullptr;
    const int to = index.pos + 1 < index.chain.size() ? index.chain[index.pos + 1] : index.tip;
    return to ? index.find(to) : nullptr;
}

bool ReadForStep(History& history, Index& index, bool create, std::string* error) {
    bool exists = false;
    if (!history.open(create, error, &exists)) return false;
    if (!exists) {
        index = Index();
        return true;
    }
    return history.readIndex(index, error);
}

} // namespace

bool CanUndo(const std::string& projectFolder) {
    History history(projectFolder);
    Index index;
    return ReadForStep(history, index, false, nullptr) && UndoTarget(index);
}

bool CanRedo(const std::string& projectFolder) {
    History history(projectFolder);
    Index index;
    return ReadForStep(history, index, false, nullptr) && RedoTarget(index);
}

bool UndoLastChange(const std::string& projectFolder, std::string* error, std::int32_t* objectId) {
    History history(projectFolder);
    Index index;
    if (!ReadForStep(history, index, true, error)) return false;
    const HistoryVersion* target = UndoTarget(index);
    if (!target) {
        if (error) *error = "there is no change to undo";
        return false;
    }
    const HistoryVersion copy = *target;
    if (objectId) *objectId = copy.objectId;
    return RestoreState(history, index, copy, VersionKind::Undo, "Undo " + copy.what,
                        copy.objectId, error);
}

bool RedoChange(const std::string& projectFolder, std::string* error, std::int32_t* objectId) {
    History history(projectFolder);
    Index index;
    if (!ReadForStep(history, index, true, error)) return false;
    const HistoryVersion* target = RedoTarget(index);
    if (!target) {
        if (error) *error = "there is no change to redo";
        return false;
    }
    const HistoryVersion* change = index.find(index.chain[index.pos]);
    const std::string what = change ? change->what : std::string();
    const std::int32_t concerned = change ? change->objectId : 0;
    if (objectId) *objectId = concerned;
    const HistoryVersion copy = *target;
    return RestoreState(history, index, copy, VersionKind::Redo, "Redo " + what, concerned, error);
}

std::string FormatVersionTime(std::int64_t timeMs) {
    const std::time_t t = static_cast<std::time_t>(timeMs / 1000);
    std::tm local {};
    if (!::localtime_r(&t, &local)) return std::to_string(timeMs);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

} // namespace qb
