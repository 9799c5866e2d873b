// play: builds a project in Test mode and serves it with Ruffle on 127.0.0.1 until interrupted,
// so the game plays in any browser at the printed address.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "build/build.h"
#include "cli/cli.h"
#include "model/workspace.h"
#include "platform/game_server.h"

namespace qbcli {
namespace {

int PlayCommand(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].starts_with("-")) return UsageError("play");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    const qb::ProjectRecord* project = qb::ProjectAt(index);
    if (!project) return kFailed;
    const std::string folder = project->sPathProgetto;
    if (!qb::BuildGame(index, qb::BuildMode::Test)) return kFailed;
    ForgetMessagesShown();

    const std::string ruffle = qb::FindRuffleFolder();
    if (ruffle.empty())
        std::fprintf(stderr, "Ruffle is not installed beside quillbox-cli: the page is served "
                             "without a Flash player\n");

    // The server's thread inherits this mask, so the signals reach sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    qb::GameServer server;
    std::string error;
    if (!server.start(&error)) return Fail("cannot serve the game: " + error);
    server.setFolders(folder, ruffle);
    std::printf("%s\n", server.urlOf(qb::kPageFileName).c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return kDone;
}

const CliRegistration kPlay{{"play", "play FOLDER", PlayCommand}};

} // namespace
} // namespace qbcli
