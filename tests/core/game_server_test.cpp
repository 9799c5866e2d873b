// The game server through real sockets: what it serves, what it refuses, and that it keeps
// answering when clients misbehave.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/game_server.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Connect(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

// Everything the server sends until it closes, waiting at most 20 s in all.
std::string ReadAll(int s) {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{s, POLLIN, 0};
        if (::poll(&p, 1, 500) <= 0) continue;
        char buffer[65536];
        const ssize_t n = ::recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::string Exchange(int port, const std::string& request) {
    const int s = Connect(port);
    if (s < 0) return "no connection";
    ::send(s, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer = ReadAll(s);
    ::close(s);
    return answer;
}

std::string Get(int port, const std::string& target, const std::string& method = "GET") {
    return Exchange(port, method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

int Status(const std::string& answer) {
    if (answer.size() < 12 || !answer.starts_with("HTTP/1.1 ")) return 0;
    return std::stoi(answer.substr(9, 3));
}

std::string Body(const std::string& answer) {
    const std::size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

class GameServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("qb_server_" + std::to_string(::getpid()));
        fs::remove_all(root);
        project = root / "My project #1 %ü";
        ruffle = root / "ruffle";
        fs::create_directories(project / "sub");
        fs::create_directories(ruffle);
        WriteFile(root / "secret.txt", "secret");
        WriteFile(project / "Game.HTML", "<html><HEAD><title>t</title></head><object data=\"Game.swf\"></object></html>");
        WriteFile(project / "Game.swf", std::string(200000, 'F'));
        WriteFile(project / "a b#%é.png", "png bytes");
        WriteFile(project / "sub" / "inner.mp3", "mp3");
        fs::create_symlink(root / "secret.txt", project / "outside.png");
        fs::create_symlink(project / "Game.swf", project / "inside.swf");
        WriteFile(ruffle / "ruffle.js", "// ruffle");
        WriteFile(ruffle / "core.wasm", "\0asm");
        ASSERT_TRUE(server.start());
        server.setFolders(project.string(), ruffle.string());
        port = server.port();
        ASSERT_GT(port, 0);
    }
    void TearDown() override {
        server.stop();
        fs::remove_all(root);
    }
    fs::path root, project, ruffle;
    qb::GameServer server;
    int port = 0;
};

TEST_F(GameServerTest, ServesTheProjectAndRuffleAndAddsRuffleToPagesOnly) {
    const std::string page = ReadFile(project / "Game.HTML");
    std::string answer = Get(port, "/Game.HTML");
    ASSERT_EQ(Status(answer), 200) << answer;
    EXPECT_NE(answer.find("Content-Type: text/html"), std::string::npos);
    const std::string body = Body(answer);
    EXPECT_EQ(body, qb::AddRuffleToPage(page, "/ruffle/ruffle.js"));
    EXPECT_TRUE(body.starts_with("<html><HEAD>\n<script>")) << body;
    EXPECT_NE(body.find("<script src=\"/ruffle/ruffle.js\"></script>\n<title>"), std::string::npos);
    EXPECT_EQ(ReadFile(project / "Game.HTML"), page);  // the file itself is untouched

    answer = Get(port, "/Game.swf");
    ASSERT_EQ(Status(answer), 200);
    EXPECT_NE(answer.find("Content-Type: application/x-shockwave-flash"), std::string::npos);
    EXPECT_NE(answer.find("Content-Length: 200000\r\n"), std::string::npos);
    EXPECT_EQ(Body(answer), std::string(200000, 'F'));

    answer = Get(port, "/Game.swf", "HEAD");
    EXPECT_EQ(Status(answer), 200);
    EXPECT_NE(answer.find("Content-Length: 200000\r\n"), std::string::npos);
    EXPECT_EQ(Body(answer), "");

    answer = Get(port, "/" + qb::PercentEncodePath("a b#%é.png") + "?v=1");
    EXPECT_EQ(Status(answer), 200) << answer;
    EXPECT_EQ(Body(answer), "png bytes");
    EXPECT_EQ(Status(Get(port, "/sub/inner.mp3")), 200);
    EXPECT_EQ(Status(Get(port, "/inside.swf")), 200);  // a link that stays inside is fine

    answer = Get(port, "/ruffle/core.wasm");
    EXPECT_EQ(Status(answer), 200);
    EXPECT_NE(answer.find("Content-Type: application/wasm"), std::string::npos);
    EXPECT_EQ(Body(Get(port, "/ruffle/ruffle.js")), "// ruffle");

    // The URL the editor opens names the page percent-encoded.
    EXPECT_EQ(server.urlOf("Game.HTML"), "http://127.0.0.1:" + std::to_string(port) + "/Game.HTML");
    EXPECT_EQ(qb::PercentEncodePath("a b#%é"), "a%20b%23%25%C3%A9");
}

TEST_F(GameServerTest, RefusesEverythingOutsideTheFoldersAndBadRequests) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"/../secret.txt", 403},
        {"/sub/../../secret.txt", 403},
        {"/%2e%2e/secret.txt", 403},
        {"/%2E%2E%2Fsecret.txt", 403},
        {"/ruffle/../secret.txt", 403},
        {"/outside.png", 403},              // a symbolic link pointing outside
        {"/", 403},                         // folders are never listed
        {"/sub", 403},
        {"/sub/", 403},
        {"/ruffle/", 403},
        {"//" + root.string() + "/secret.txt", 404},  // an absolute path stays under the folder
        {"/%2F" + root.string().substr(1) + "/secret.txt", 404},
        {"/missing.png", 404},
        {"/bad%zz", 400},
        {"/bad%2", 400},
        {"/nul%00.png", 400},
        {"http://127.0.0.1/Game.swf", 400},
    };
    for (const auto& [target, status] : cases) {
        const std::string answer = Get(port, target);
        EXPECT_EQ(Status(answer), status) << target << "\n" << answer;
        EXPECT_EQ(answer.find("secret"), std::string::npos) << target;
    }
    EXPECT_EQ(Status(Get(port, "/Game.swf", "POST")), 405);
    EXPECT_NE(Get(port, "/Game.swf", "DELETE").find("Allow: GET, HEAD"), std::string::npos);
    EXPECT_EQ(Status(Exchange(port, "GARBAGE\r\n\r\n")), 400);
    EXPECT_EQ(Status(Exchange(port, "GET /Game.swf SMTP\r\n\r\n")), 400);
    const std::string huge = "GET /Game.swf HTTP/1.1\r\nX-Long: " + std::string(40000, 'x');
    EXPECT_EQ(Status(Exchange(port, huge)), 431);
    EXPECT_EQ(Status(Get(port, "/Game.swf", "HEAD")), 200);  // still serving
}

TEST_F(GameServerTest, ManyIdleConnectionsAreTurnedAwayAndServingGoesOn) {
    std::vector<int> idle;
    for (int i = 0; i < qb::GameServer::kMaxConnections + 8; ++i) {
        const int s = Connect(port);
        ASSERT_GE(s, 0);
        idle.push_back(s);
    }
    // Past the limit the server answers at once that it is busy rather than hang.
    const std::string busy = Get(port, "/Game.swf", "HEAD");
    EXPECT_EQ(Status(busy), 503) << busy;
    for (int s : idle) ::close(s);
    // Closed connections are noticed; poll until the server has caught up.
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (status != 200 && std::chrono::steady_clock::now() < deadline) {
        status = Status(Get(port, "/Game.swf", "HEAD"));
        if (status != 200) ::usleep(50000);
    }
    EXPECT_EQ(status, 200);
    // A second set of folders is served at once by the same server.
    server.setFolders((project / "sub").string(), "");
    EXPECT_EQ(Status(Get(port, "/inner.mp3")), 200);
    EXPECT_EQ(Status(Get(port, "/Game.swf")), 404);
    EXPECT_EQ(Body(Get(port, "/../Game.HTML")), "403 Forbidden\n");
}

} // namespace
