#pragma once
// quillbox-cli's command table. Each command file registers its commands with a static
// CliRegistration; main() parses --app-folder and dispatches.
#include <functional>
#include <string>
#include <vector>

namespace qbcli {

// Exit codes of the contract.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct CliCommand {
    std::string name;
    std::string usage;  // shown by --help and on a usage error
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<CliCommand>& CliCommands();

struct CliRegistration {
    explicit CliRegistration(CliCommand command) { CliCommands().push_back(std::move(command)); }
};

// A one-line reason on stderr, exit 1.
int Fail(const std::string& reason);
// The command's usage on stderr, exit 2.
int UsageError(const std::string& commandName);

// The CLI's message service: prints the core's messages on stderr and answers OK. The core
// only informs the user when it refused or failed something, so main() exits 1 when a message
// was shown during a command that otherwise succeeded.
void InstallCliMessages();
bool MessageShown();
// For a command whose own result says whether it worked, whatever it showed on the way.
void ForgetMessagesShown();

// Loads the project in the folder of that name inside the projects folder and answers its
// project index; -1 after telling why (not a folder name, no such project, refused by the
// loader).
int OpenProjectFolder(const std::string& folderName);

} // namespace qbcli
