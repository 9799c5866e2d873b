#pragma once
// Private-profile (INI) files, byte-compatible with what Windows' private-profile API writes and
// reads.
//
// The work is done in memory: a ProfileFile is read once, any number of reads and writes are
// applied to its lines, and save() replaces the file atomically (temporary file in the same
// folder, flush, rename). Lines a write does not touch are kept byte for byte. Writing the value
// a key already has changes nothing, so saving an unchanged document leaves the file as it was.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

class ProfileFile {
public:
    ProfileFile();
    ~ProfileFile();
    ProfileFile(ProfileFile&&) noexcept;
    ProfileFile& operator=(ProfileFile&&) noexcept;

    // Reads the file; a missing file gives an empty document (and ok). Answers false with a
    // reason (and an empty document) when the file exists but cannot be read or goes beyond
    // the limits below.
    bool load(const std::string& path, std::string* error = nullptr);
    // The same, telling sectionParsed of each section as soon as all its lines are parsed,
    // while its bytes are likely still in the cache; it may read the document, not write it.
    // Only the first section of a name is told (lookups never see the others). A file that
    // grows while it is read is parsed again from the start, which tells its sections again.
    using SectionParsed = std::function<void(std::string_view section)>;
    bool load(const std::string& path, std::string* error, const SectionParsed& sectionParsed);
    // Parses bytes as if read from a file. Answers false, leaving an empty document, for text
    // beyond the limits below.
    bool parse(std::string_view bytes);

    // GetPrivateProfileString: trimmed, one pair of matching quotes removed, first duplicate
    // wins, cut to bufferSize - 1 characters; the default (trailing blanks removed, cut the same
    // way) when the key is missing.
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = "", std::size_t bufferSize = 260) const;
    // GetPrivateProfileInt.
    std::int32_t getInt(std::string_view section, std::string_view key,
                        std::int32_t defaultValue) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    // The value as getString reads it (trimmed, quotes removed) but uncut, without copying; the
    // view is valid until the next write. Empty optional when the key is missing.
    std::optional<std::string_view> findValue(std::string_view section,
                                              std::string_view key) const;
    // Calls visit with the key and the value (as findValue reads it) of each entry of the
    // section, in file order, later duplicates too; nothing for a missing section.
    using EntryVisitor = std::function<void(std::string_view key, std::string_view value)>;
    void forEachEntry(std::string_view section, const EntryVisitor& visit) const;

    // WritePrivateProfileString: updates in place or appends after the section's last entry,
    // a new section at the end. The value is written as given, blanks included, and ends at its
    // first line break (written raw it would become a line of its own). A line holding the key
    // alone, without '=', is taken as the key's line and rewritten. Answers false, and
    // changes nothing, for names that would not read back as themselves (a line break in a
    // name; a key that holds '=', starts with ';', or would make the line a section header).
    bool setString(std::string_view section, std::string_view key, std::string_view value);
    bool setInt(std::string_view section, std::string_view key, std::int64_t value);

    // The document's bytes as they would be written.
    std::string bytes() const;
    // Its size in bytes, lines and sections (sections with a header), as load() counts them.
    std::size_t size() const;
    std::size_t lineCount() const;
    std::size_t sectionCount() const;
    // Whether a write since load() changed the bytes.
    bool modified() const;

    // Replaces the file atomically; nothing is written when the document is unchanged and the
    // file exists. Answers false with a reason (the file is left as it was).
    bool save(const std::string& path, std::string* error = nullptr);

    // Limits that keep a damaged or hostile file from taking memory out of proportion: the
    // file's size, and its lines and sections (each costs memory of its own however short it is).
    // A real project.ini has about 100 bytes per line and a section per object.
    static constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;
    static constexpr std::size_t kMaxLines = 2u * 1024u * 1024u;
    static constexpr std::size_t kMaxSections = 256u * 1024u;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One-shot helpers for files touched a key at a time (preferences.ini): read, change, save.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue = "",
                              std::size_t bufferSize = 260);
std::int32_t ReadProfileInt(const std::string& path, std::string_view section,
                            std::string_view key, std::int32_t defaultValue);
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error = nullptr);

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it
// over the target. On failure the target is left as it was and false is answered with a reason.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           std::string* error = nullptr);

// The integer rule of GetPrivateProfileInt applied to an already trimmed, unquoted value.
std::int32_t ParseProfileInt(std::string_view value, std::int32_t defaultValue);

} // namespace qb
