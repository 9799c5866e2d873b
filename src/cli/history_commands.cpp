// quillbox-cli history FOLDER / restore FOLDER N: the versions the project's history keeps.
//
// Neither command loads the project: a project file that no longer loads is exactly what a
// restore may have to mend.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"

namespace qbcli {
namespace {

// The project folder of that name inside the projects folder, or empty after telling why.
std::string ProjectFolderNamed(const std::string& folderName) {
    if (folderName.empty() || folderName == "." || folderName == ".." ||
        folderName.find('/') != std::string::npos) {
        Fail("not a project folder name: " + folderName);
        return {};
    }
    const std::string folder = qb::JoinPath(qb::ProjectsFolder(), folderName);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        Fail("no project folder " + folderName + " in " + qb::ProjectsFolder());
        return {};
    }
    return folder;
}

// One line of output: tabs and line breaks of a label become blanks.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

int HistoryCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("history");
    const std::string folder = ProjectFolderNamed(args[0]);
    if (folder.empty()) return kFailed;
    std::vector<qb::HistoryVersion> versions;
    std::string error;
    if (!qb::ListHistory(folder, versions, &error)) return Fail("the history cannot be read: " + error);
    for (auto it = versions.rbegin(); it != versions.rend(); ++it)
        std::printf("%d\t%s\t%s\n", it->number, qb::FormatVersionTime(it->timeMs).c_str(),
                    OneLine(it->what).c_str());
    return kDone;
}

int RestoreCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("restore");
    int number = 0;
    const auto& text = args[1];
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return UsageError("restore");
    number = std::stoi(text);
    if (number <= 0) return UsageError("restore");
    const std::string folder = ProjectFolderNamed(args[0]);
    if (folder.empty()) return kFailed;
    std::string error;
    if (!qb::RestoreVersion(folder, number, &error))
        return Fail("version " + text + " was not restored: " + error);
    return kDone;
}

const CliRegistration kHistory{{"history", "history FOLDER   (versions, newest first: N, time, what changed)",
                                HistoryCommand}};
const CliRegistration kRestore{{"restore", "restore FOLDER N   (kept itself as a new version)",
                                RestoreCommand}};

} // namespace
} // namespace qbcli
