#include "support/test_support.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "model/preferences.h"
#include "model/workspace.h"

namespace qbtest {

void RecordingMessages::inform(std::string_view text, std::string_view caption) {
    texts.emplace_back(text);
    captions.emplace_back(caption);
}

bool RecordingMessages::askOkCancel(std::string_view text, std::string_view caption) {
    inform(text, caption);
    if (answers.empty()) return true;
    bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

void RecordingDesktop::open(std::string_view pathOrUrl) { opened.emplace_back(pathOrUrl); }

bool RecordingDesktop::startDetached(std::string_view program,
                                     const std::vector<std::string>& args) {
    std::vector<std::string> call{std::string(program)};
    call.insert(call.end(), args.begin(), args.end());
    started.push_back(std::move(call));
    return startSucceeds;
}

std::filesystem::path SourceDir() { return QB_SOURCE_DIR; }
std::filesystem::path BinDir() { return QB_BIN_DIR; }

TempAppFolder::TempAppFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("qbtest_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_ / "Projects");
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(SourceDir() / "assets", ec)) {
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), path_ / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing, ec);
    }
    qb::ResetWorkspace();
    qb::SetMessageService(&messages);
    qb::SetDesktopService(&desktop);
    qb::SetAppFolder(path_.string());
    qb::EnsurePreferenceDefaults();
}

TempAppFolder::~TempAppFolder() {
    qb::ResetWorkspace();
    qb::SetMessageService(nullptr);
    qb::SetDesktopService(nullptr);
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace qbtest
