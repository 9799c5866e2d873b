// The whole path of "Test game" in a real browser: a jigsaw project with embedded pictures is
// built and served by `quillbox-cli play`, Debian's Chromium loads the page headless, and the
// page is watched through Chromium's remote debugging protocol (over a pipe) until Ruffle has
// loaded the movie and the stand-in engine has read the project's name out of the game file.
// Skipped, with the reason, only when Chromium or Ruffle is not installed.
//
// Every wait polls against a deadline; Ruffle compiles 14 MB of WebAssembly first, which takes
// tens of seconds on a busy machine, so the deadlines are generous.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/game_server.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kPageDeadline = std::chrono::seconds(240);

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string paths = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= paths.size()) {
        std::size_t end = paths.find(':', start);
        if (end == std::string::npos) end = paths.size();
        const fs::path candidate = fs::path(paths.substr(start, end - start)) / name;
        if (!candidate.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = end + 1;
    }
    return {};
}

// A child process in its own process group, with optional pipes.
struct Child {
    pid_t pid = -1;
    int out = -1;      // its stdout (when piped)
    int toIt = -1;     // its fd 3 (remote debugging commands)
    int fromIt = -1;   // its fd 4 (remote debugging answers)

    Child() = default;
    Child(Child&& other) noexcept : pid(other.pid), out(other.out), toIt(other.toIt), fromIt(other.fromIt) {
        other.pid = other.out = other.toIt = other.fromIt = -1;
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    void kill() {
        if (pid > 0) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            pid = -1;
        }
        for (int* fd : {&out, &toIt, &fromIt})
            if (*fd >= 0) ::close(*fd), *fd = -1;
    }
    ~Child() { kill(); }
};

Child Spawn(const std::vector<std::string>& args, bool pipeOut, bool debugPipes) {
    int outPipe[2] = {-1, -1}, commands[2] = {-1, -1}, answers[2] = {-1, -1};
    if (pipeOut && ::pipe2(outPipe, O_CLOEXEC) != 0) return {};
    if (debugPipes && (::pipe2(commands, O_CLOEXEC) != 0 || ::pipe2(answers, O_CLOEXEC) != 0)) return {};
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    Child child;
    child.pid = ::fork();
    if (child.pid == 0) {
        ::setpgid(0, 0);
        const int devnull = ::open("/dev/null", O_RDWR);
        ::dup2(devnull, 0);
        ::dup2(pipeOut ? outPipe[1] : devnull, 1);
        ::dup2(devnull, 2);
        if (debugPipes) {
            // Chromium reads commands on fd 3 and writes answers on fd 4.
            const int in = ::fcntl(commands[0], F_DUPFD, 10), out = ::fcntl(answers[1], F_DUPFD, 10);
            ::dup2(in, 3);
            ::dup2(out, 4);
        }
        ::execv(copy[0].c_str(), argv.data());
        ::_exit(127);
    }
    if (pipeOut) {
        ::close(outPipe[1]);
        child.out = outPipe[0];
    }
    if (debugPipes) {
        ::close(commands[0]);
        ::close(answers[1]);
        child.toIt = commands[1];
        child.fromIt = answers[0];
    }
    return child;
}

// Reads from fd until the text holds `until` or the deadline passes.
bool ReadUntil(int fd, std::string& text, const std::string& until, Clock::time_point deadline) {
    while (text.find(until) == std::string::npos) {
        if (Clock::now() > deadline) return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) continue;
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

int RunQuiet(const std::vector<std::string>& args, std::string* out = nullptr) {
    Child child = Spawn(args, true, false);
    std::string text;
    ReadUntil(child.out, text, std::string(1, '\0'), Clock::now() + std::chrono::seconds(60));
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    child.pid = -1;
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The value of the first "key":"..." in a JSON text (no unescaping needed for ids).
std::string StringField(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\":\"";
    const std::size_t at = json.find(marker);
    if (at == std::string::npos) return {};
    const std::size_t start = at + marker.size();
    const std::size_t end = json.find('"', start);
    return end == std::string::npos ? std::string() : json.substr(start, end - start);
}

// A client of Chromium's remote debugging protocol over --remote-debugging-pipe: messages are
// JSON texts, each ended by a NUL byte.
class DevTools {
public:
    explicit DevTools(Child& browser) : browser_(browser) {}

    int send(const std::string& method, const std::string& params, const std::string& session = {}) {
        const int id = ++lastId_;
        std::string message = "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method +
                              "\",\"params\":" + params;
        if (!session.empty()) message += ",\"sessionId\":\"" + session + "\"";
        message += "}";
        message.push_back('\0');
        std::size_t sent = 0;
        while (sent < message.size()) {
            const ssize_t n = ::write(browser_.toIt, message.data() + sent, message.size() - sent);
            if (n <= 0) return -1;
            sent += static_cast<std::size_t>(n);
        }
        return id;
    }

    // The next message, or empty when none arrived within the wait.
    std::string next(std::chrono::milliseconds wait) {
        const auto deadline = Clock::now() + wait;
        for (;;) {
            const std::size_t end = buffer_.find('\0');
            if (end != std::string::npos) {
                std::string message = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (message.find("\"method\":\"Runtime.consoleAPICalled\"") != std::string::npos)
                    console_ += message + "\n";
                return message;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return {};
            pollfd p{browser_.fromIt, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[65536];
            const ssize_t n = ::read(browser_.fromIt, chunk, sizeof chunk);
            if (n <= 0) return {};
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // The answer to command id (events on the way are kept in the console log).
    std::string answer(int id, std::chrono::seconds wait) {
        const auto deadline = Clock::now() + wait;
        const std::string marker = "\"id\":" + std::to_string(id) + ",";
        while (Clock::now() < deadline) {
            const std::string message = next(std::chrono::milliseconds(500));
            if (message.find(marker) != std::string::npos && message.find("\"method\"") == std::string::npos)
                return message;
        }
        return {};
    }

    const std::string& console() const { return console_; }

private:
    Child& browser_;
    int lastId_ = 0;
    std::string buffer_;
    std::string console_;
};

std::string Base64Decode(const std::string& text) {
    std::string out;
    int value = 0, bits = 0;
    for (const char c : text) {
        int d;
        if (c >= 'A' && c <= 'Z') d = c - 'A';
        else if (c >= 'a' && c <= 'z') d = c - 'a' + 26;
        else if (c >= '0' && c <= '9') d = c - '0' + 52;
        else if (c == '+') d = 62;
        else if (c == '/') d = 63;
        else continue;
        value = (value << 6) | d;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((value >> bits) & 0xFF));
        }
    }
    return out;
}

TEST(BrowserPlay, RufflePlaysTheStandInWhichShowsTheProject) {
    const std::string chromium = FindOnPath("chromium");
    if (chromium.empty()) GTEST_SKIP() << "Chromium is not installed (scripts/install-deps.sh installs it)";
    if (qb::FindRuffleFolder().empty())
        GTEST_SKIP() << "Ruffle is not installed beside the programs (scripts/install-deps.sh, then build)";

    qbtest::TempAppFolder app;
    const std::string cli = (qbtest::BinDir() / "quillbox-cli").string();
    const std::string appFolder = app.path().string();
    auto run = [&](std::vector<std::string> args, std::string* out = nullptr) {
        args.insert(args.begin(), {cli, "--app-folder", appFolder});
        return RunQuiet(args, out);
    };
    // A name with blanks, '#', '%' and a non-ASCII letter, which also names the folder.
    const std::string name = "Pi\xc3\xa8" "ce #1 50%";
    std::string folder;
    ASSERT_EQ(run({"new", name, "--type", "jigsaw"}, &folder), 0);
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\0')) folder.pop_back();
    std::string id;
    ASSERT_EQ(run({"add", folder, "4"}, &id), 0);  // a backgrounds bitmap
    while (!id.empty() && (id.back() == '\n' || id.back() == '\0')) id.pop_back();
    ASSERT_EQ(run({"set", folder, "8", "0", "u32", "2"}), 0);    // resources embedded
    ASSERT_EQ(run({"set", folder, "8", "264", "i32", "550"}), 0);
    ASSERT_EQ(run({"set", folder, "8", "268", "i32", "400"}), 0);
    ASSERT_EQ(run({"set", folder, "8", "556", "u32", id}), 0);   // the picture cut into pieces

    Child server = Spawn({cli, "--app-folder", appFolder, "play", folder}, true, false);
    std::string url;
    ASSERT_TRUE(ReadUntil(server.out, url, "\n", Clock::now() + std::chrono::seconds(60)))
        << "quillbox-cli play printed no address: " << url;
    url.pop_back();
    ASSERT_TRUE(url.starts_with("http://127.0.0.1:")) << url;
    ASSERT_TRUE(url.ends_with("/Game.HTML")) << url;
    const fs::path projectFolder = app.projects() / folder;
    const std::string pageOnDisk = qbtest::ReadFile(projectFolder / "Game.HTML");
    EXPECT_EQ(pageOnDisk.find("ruffle"), std::string::npos);  // the page file stays as built

    const fs::path profile = app.path() / "chromium-profile";
    Child browser = Spawn({chromium, "--headless", "--no-sandbox", "--disable-gpu",
                           "--no-first-run", "--disable-extensions", "--mute-audio",
                           "--autoplay-policy=no-user-gesture-required", "--window-size=800,600",
                           "--user-data-dir=" + profile.string(), "--remote-debugging-pipe",
                           "about:blank"},
                          false, true);
    ASSERT_GT(browser.pid, 0);
    DevTools tools(browser);
    const auto wait = std::chrono::seconds(90);
    std::string answer = tools.answer(tools.send("Target.createTarget", "{\"url\":\"about:blank\"}"), wait);
    const std::string target = StringField(answer, "targetId");
    ASSERT_FALSE(target.empty()) << "no page target: " << answer;
    answer = tools.answer(tools.send("Target.attachToTarget",
                                     "{\"targetId\":\"" + target + "\",\"flatten\":true}"), wait);
    const std::string session = StringField(answer, "sessionId");
    ASSERT_FALSE(session.empty()) << answer;
    ASSERT_FALSE(tools.answer(tools.send("Runtime.enable", "{}", session), wait).empty());
    ASSERT_FALSE(tools.answer(tools.send("Page.navigate", "{\"url\":\"" + url + "\"}", session), wait).empty());

    // Poll the page until Ruffle reports the movie loaded and the stand-in has logged the name.
    const std::string nameLine = "Quillbox stand-in: " + name;
    const std::string nameLineEscaped = "Quillbox stand-in: Pi\\u00e8ce #1 50%";
    const std::string probe =
        "{\"expression\":\"(function(){var p=document.querySelector('ruffle-object,ruffle-embed');"
        "return JSON.stringify(p&&p.metadata?p.metadata:null);})()\",\"returnByValue\":true}";
    bool movieLoaded = false, nameRead = false;
    std::string metadata;
    const auto deadline = Clock::now() + kPageDeadline;
    while (Clock::now() < deadline && !(movieLoaded && nameRead)) {
        if (!movieLoaded) {
            metadata = tools.answer(tools.send("Runtime.evaluate", probe, session), std::chrono::seconds(30));
            movieLoaded = metadata.find("swfVersion") != std::string::npos;
        }
        tools.next(std::chrono::milliseconds(1000));
        nameRead = tools.console().find(nameLine) != std::string::npos ||
                   tools.console().find(nameLineEscaped) != std::string::npos;
    }
    EXPECT_TRUE(movieLoaded) << "Ruffle did not load Game.swf: " << metadata;
    EXPECT_NE(metadata.find("isActionScript3\\\":false"), std::string::npos) << metadata;
    EXPECT_TRUE(nameRead) << "the stand-in did not log the project's name; console:\n" << tools.console();

    if (const char* shots = std::getenv("QB_PAGE_SCREENSHOT"); shots && *shots && movieLoaded) {
        // A moment for the thumbnail to be drawn, then the page as the README shows it.
        tools.next(std::chrono::milliseconds(3000));
        answer = tools.answer(tools.send("Page.captureScreenshot", "{\"format\":\"png\"}", session), wait);
        std::ofstream(shots, std::ios::binary) << Base64Decode(StringField(answer, "data"));
    }

    tools.send("Browser.close", "{}");
    browser.kill();
    // The server stops cleanly when interrupted, and the page on disk is still what the build wrote.
    ::kill(server.pid, SIGINT);
    int status = -1;
    for (int i = 0; i < 200 && ::waitpid(server.pid, &status, WNOHANG) == 0; ++i) ::usleep(50000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    server.pid = -1;
    EXPECT_EQ(qbtest::ReadFile(projectFolder / "Game.HTML"), pageOnDisk);
}

} // namespace
