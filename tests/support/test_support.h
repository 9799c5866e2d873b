#pragma once
// Shared test fixtures: a fresh application folder per test, a recording message service, and
// file helpers.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/messages.h"

namespace qbtest {

// Records every message and answers askOkCancel from a script (default OK).
class RecordingMessages : public qb::MessageService {
public:
    void inform(std::string_view text, std::string_view caption) override;
    bool askOkCancel(std::string_view text, std::string_view caption) override;
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<bool> answers;  // consumed front to back; OK when empty
};

class RecordingDesktop : public qb::DesktopService {
public:
    void open(std::string_view pathOrUrl) override;
    bool startDetached(std::string_view program, const std::vector<std::string>& args) override;
    std::vector<std::string> opened;
    std::vector<std::vector<std::string>> started;  // program followed by its arguments
    bool startSucceeds = true;  // what startDetached answers
};

// A temporary application folder with preferences defaults, a Projects folder, the default
// assets copied from assets/, the workspace reset, and recording services installed. Removes
// the folder again.
class TempAppFolder {
public:
    TempAppFolder();
    ~TempAppFolder();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path projects() const { return path_ / "Projects"; }
    RecordingMessages messages;
    RecordingDesktop desktop;

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::filesystem::path SourceDir();  // the repository
std::filesystem::path BinDir();     // build/bin

} // namespace qbtest
