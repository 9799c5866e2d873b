#pragma once
// Output files that appear whole or not at all: the data goes to a new temporary file in the
// target's folder, and commit() renames it over the target. A build that fails half-way, or a
// full disk, never leaves a torn game file or page behind. The temporary file is created
// exclusively, so a link planted under its name is never followed.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace qb {

class OutputFile {
public:
    explicit OutputFile(std::string target);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    bool write(const void* data, std::size_t size);
    // Copies the rest of the stream; false when the stream broke before its end or a write
    // failed. *copied (if given) receives the number of bytes copied.
    bool copyFrom(std::istream& in, std::uint64_t* copied = nullptr);
    // Closes and renames over the target; false (target untouched) when anything failed.
    bool commit();
    const std::string& target() const { return target_; }

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes bytes to path through an OutputFile.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace qb
