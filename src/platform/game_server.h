#pragma once
// The game server: a small HTTP server on 127.0.0.1 that lets a browser play a test build.
//
// Browsers no longer run Flash; Ruffle (a Flash player emulator in WebAssembly) does, but it does
// not start from file:// pages. So "Test game" and `quillbox-cli play` serve two folders over http
// from one origin: the project folder at "/" and Ruffle at "/ruffle/". Pages (.html/.htm) of the
// project folder get the Ruffle script added as they are served; the file on disk is untouched.
//
// What it answers: GET and HEAD of regular files that lie under one of the two folders, after
// following symbolic links. Everything else is refused: ".." segments, paths that resolve outside
// the folders, folders themselves (no listings), other methods, malformed or oversized requests.
// Only the loopback address is bound. One thread runs a poll() loop over at most kMaxConnections
// connections, each closed after its response or after kIdleTimeoutMs without progress, so slow
// or many clients never hold up the editor, whose thread only starts and configures the server.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qb {

// The URL prefix under which Ruffle is served.
constexpr std::string_view kRufflePrefix = "/ruffle/";

// The folder holding Ruffle's ruffle.js: "ruffle" beside the running program, else where an
// installed program keeps it (beside Pixbridge, ../lib/quillbox/ruffle). Empty when absent.
std::string FindRuffleFolder();

// The tags that load Ruffle from scriptUrl, with the settings a game page wants (start at once,
// no splash). Added to served pages, and written into a published page.
std::string RuffleScriptTags(std::string_view scriptUrl);
// page with the tags inserted just after its <head> tag (at the start when it has none).
std::string AddRuffleToPage(std::string_view page, std::string_view scriptUrl);

class GameServer {
public:
    static constexpr int kMaxConnections = 64;
    static constexpr int kIdleTimeoutMs = 15000;
    static constexpr std::size_t kMaxRequestBytes = 16 * 1024;

    GameServer();
    ~GameServer();  // stops the server
    GameServer(const GameServer&) = delete;
    GameServer& operator=(const GameServer&) = delete;

    // Binds 127.0.0.1 on a free port and starts serving. True when it runs (also when it ran
    // already); false with a reason otherwise.
    bool start(std::string* error = nullptr);
    void stop();
    bool running() const;
    int port() const;

    // The folders served from now on (ruffleFolder may be empty: pages are then served as they
    // are). Safe to call while serving.
    void setFolders(const std::string& projectFolder, const std::string& ruffleFolder);

    // http://127.0.0.1:PORT/ followed by the percent-encoded file name.
    std::string urlOf(std::string_view fileName) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The editor's server: started on first use, kept until the program ends, so a second test
// reuses it. Serves projectFolder and ruffleFolder and answers the URL of pageName, or empty (with
// a reason) when the server cannot run.
std::string ServeTestGame(const std::string& projectFolder, const std::string& ruffleFolder,
                          std::string_view pageName, std::string* error = nullptr);

// Makes a folder playable from any static web host: writes folder/index.html (page with the
// Ruffle script added, loading ruffle/ruffle.js) and copies Ruffle's scripts, WebAssembly and
// licence files into folder/ruffle. False with a reason when something could not be written.
bool PublishWebPlayer(const std::string& folder, std::string_view page, const std::string& ruffleFolder,
                      std::string* error = nullptr);

// Percent-encodes everything but unreserved characters and '/'.
std::string PercentEncodePath(std::string_view path);

} // namespace qb
