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

} // namespace qbcli
