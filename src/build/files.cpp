#include "build/files.h"
#include "platform/temporaries.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace qb {

namespace {
constexpr std::size_t kCopyChunk = 1u << 20;
}

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    const std::filesystem::path t(target_);
    const std::string folder = t.has_parent_path() ? t.parent_path().string() : std::string(".");
    const std::string name = t.filename().string();
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = TemporaryNameFor(folder, name) + std::to_string(attempt) + ".tmp";
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) temp_.clear();
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool OutputFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool OutputFile::copyFrom(std::istream& in, std::uint64_t* copied) {
    std::vector<char> buffer(kCopyChunk);
    std::uint64_t total = 0;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        if (got > 0) {
            if (!write(buffer.data(), static_cast<std::size_t>(got))) return false;
            total += static_cast<std::uint64_t>(got);
        }
    }
    if (copied) *copied = total;
    // eof alone is the normal end; bad means the read itself failed.
    return !in.bad();
}

bool OutputFile::commit() {
    if (fd_ < 0) return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (failed_ || !closed) return false;
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) return false;
    temp_.clear();
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    OutputFile out(path);
    return out.write(bytes.data(), bytes.size()) && out.commit();
}

} // namespace qb
