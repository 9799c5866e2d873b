#include "cli/cli.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "platform/messages.h"

namespace qbcli {

std::vector<CliCommand>& CliCommands() {
    // Function-local so registrations from any file's static initialisers find it built.
    static std::vector<CliCommand> commands;
    return commands;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return kFailed;
}

int UsageError(const std::string& commandName) {
    for (const CliCommand& command : CliCommands()) {
        if (command.name == commandName) {
            std::fprintf(stderr, "usage: quillbox-cli [--app-folder DIR] %s\n",
                         command.usage.c_str());
            return kUsage;
        }
    }
    std::fprintf(stderr, "usage: quillbox-cli [--app-folder DIR] COMMAND [ARGS] (see --help)\n");
    return kUsage;
}

namespace {

class CliMessages final : public qb::MessageService {
public:
    void inform(std::string_view text, std::string_view) override {
        // That history is off does not undo the change the command made and saved.
        if (!text.starts_with(qb::kHistoryOffNotice)) shown = true;
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    // Running the command was the user's confirmation; the question is only echoed.
    bool askOkCancel(std::string_view text, std::string_view) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        return true;
    }
    bool shown = false;
};

CliMessages g_messages;

} // namespace

void InstallCliMessages() {
    g_messages.shown = false;
    qb::SetMessageService(&g_messages);
}

bool MessageShown() { return g_messages.shown; }
void ForgetMessagesShown() { g_messages.shown = false; }

int OpenProjectFolder(const std::string& folderName) {
    namespace fs = std::filesystem;
    // A folder name, never a path: nothing outside the projects folder is opened.
    if (folderName.empty() || folderName == "." || folderName == ".." ||
        folderName.find('/') != std::string::npos) {
        Fail("not a project folder name: " + folderName);
        return -1;
    }
    const std::string folder = qb::JoinPath(qb::ProjectsFolder(), folderName);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        Fail("no project folder " + folderName + " in " + qb::ProjectsFolder());
        return -1;
    }
    // A folder without a project file would load as an empty project; saving it would then
    // make a project out of an unrelated folder.
    if (!fs::is_regular_file(qb::JoinPath(folder, qb::kProjectFileName), ec)) {
        Fail("no " + std::string(qb::kProjectFileName) + " in " + folder);
        return -1;
    }
    const int index = qb::LoadProject(folderName);
    if (index < 0 && !MessageShown()) Fail("the project in " + folder + " could not be loaded");
    return index;
}

} // namespace qbcli
