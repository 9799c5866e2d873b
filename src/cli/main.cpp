// quillbox-cli: the editor's project commands without its windows.
//
//     quillbox-cli [--app-folder DIR] COMMAND [ARGS]
//
// The application folder is prepared the way the editor prepares it at start-up, then the
// command runs on the same core and saves exactly what the editor would save.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"
#include "model/preferences.h"
#include "platform/pictures.h"

namespace {

using qbcli::CliCommand;
using qbcli::CliCommands;

void PrintHelp() {
    std::printf(
        "usage: quillbox-cli [--app-folder DIR] COMMAND [ARGS]\n"
        "\n"
        "DIR is the application folder (default: the current directory). Its preferences.ini\n"
        "names the projects folder (projectsPath); FOLDER is a project's folder name in it.\n"
        "IDs, offsets and numbers are decimal. KIND is u32, i32, u16, u8, text:N or hex:N.\n"
        "Exit status: 0 done; 1 refused or failed, with the reason on stderr; 2 usage error\n"
        "(also for a number that is not a decimal number or a hex value of the wrong length).\n"
        "\n"
        "Commands:\n");
    for (const CliCommand& command : CliCommands()) std::printf("  %s\n", command.usage.c_str());
}

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand& command : CliCommands())
        if (command.name == name) return &command;
    return nullptr;
}

// The absolute, normalised folder without a trailing separator.
std::string AbsoluteFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path = fs::absolute(folder, ec);
    if (ec) return {};
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// What the editor does with its folder at start-up: fill in missing preferences and make the
// default Projects folder. A projectsPath pointing elsewhere is the user's and is not created.
int PrepareAppFolder(const std::string& requested) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string folder = AbsoluteFolder(requested.empty() ? fs::current_path(ec).string()
                                                                : requested);
    if (folder.empty() || !fs::is_directory(folder, ec))
        return qbcli::Fail("application folder not found: " + requested);
    qb::SetAppFolder(folder);
    qb::EnsurePreferenceDefaults();
    const std::string projects = qb::ProjectsFolder();
    if (projects == qb::DefaultPreference("projectsPath") && !fs::exists(projects, ec)) {
        fs::create_directory(projects, ec);
        if (ec) return qbcli::Fail("cannot create the projects folder " + projects + ": " +
                                   ec.message());
    }
    // Pictures are optional for these commands: without Pixbridge they simply decode nothing.
    qb::BindPixbridgeBesideProgram();
    qb::InstallPixbridgeMessageHook();
    return qbcli::kDone;
}

int Run(const std::vector<std::string>& args) {
    std::string appFolder;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("-"); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            PrintHelp();
            return qbcli::kDone;
        }
        if (option == "--app-folder" && i + 1 < args.size() && !args[i + 1].empty()) {
            appFolder = args[++i];
        } else if (option.starts_with("--app-folder=") && option.size() > 13) {
            appFolder = option.substr(13);
        } else {
            std::fprintf(stderr, "unknown option or missing value: %s\n", option.c_str());
            return qbcli::UsageError("");
        }
    }
    if (i == args.size()) return qbcli::UsageError("");
    const CliCommand* command = FindCommand(args[i]);
    if (!command) {
        std::fprintf(stderr, "unknown command: %s\n", args[i].c_str());
        return qbcli::UsageError("");
    }
    const std::vector<std::string> commandArgs(args.begin() + static_cast<long>(i) + 1,
                                               args.end());
    if (!commandArgs.empty() && commandArgs.front() == "--help") {
        std::printf("usage: quillbox-cli [--app-folder DIR] %s\n", command->usage.c_str());
        return qbcli::kDone;
    }

    qbcli::InstallCliMessages();
    if (int prepared = PrepareAppFolder(appFolder); prepared != qbcli::kDone) return prepared;
    int result = command->run(commandArgs);
    // The core tells the user only when it refused or failed something.
    if (result == qbcli::kDone && qbcli::MessageShown()) result = qbcli::kFailed;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    int result;
    try {
        result = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        result = qbcli::Fail(std::string("failed: ") + error.what());
    }
    // Output that could not be written is a failure too (a full disk, a closed pipe).
    if (std::fflush(stdout) != 0 && result == qbcli::kDone) result = qbcli::kFailed;
    return result;
}
