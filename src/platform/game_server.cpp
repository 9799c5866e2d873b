#include "platform/game_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/pictures.h"

#ifndef QB_BIN_TO_PIXBRIDGE
#define QB_BIN_TO_PIXBRIDGE "../lib/quillbox"
#endif

namespace qb {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxPageBytes = 8u * 1024 * 1024;
constexpr std::size_t kChunkBytes = 64 * 1024;

bool IsRuffleFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "ruffle.js", ec);
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view ContentType(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot + 1));
    if (ext == "html" || ext == "htm") return "text/html; charset=utf-8";
    if (ext == "swf") return "application/x-shockwave-flash";
    if (ext == "js") return "text/javascript; charset=utf-8";
    if (ext == "wasm") return "application/wasm";
    if (ext == "png") return "image/png";
    if (ext == "mp3") return "audio/mpeg";
    if (ext == "json" || ext == "map") return "application/json";
    if (ext == "css") return "text/css";
    if (ext == "txt" || ext == "ini" || ext == "md") return "text/plain; charset=utf-8";
    return "application/octet-stream";
}

bool IsPage(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string ext = LowerAscii(name.substr(dot + 1));
    return ext == "html" || ext == "htm";
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

// True when path lies inside root (both canonical).
bool Inside(const std::string& path, const std::string& root) {
    if (root == "/") return true;
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

std::string Canonical(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string out(resolved);
    std::free(resolved);
    return out;
}

struct Response {
    int status = 200;
    std::string contentType;
    std::string body;     // used when fd < 0
    int fd = -1;          // a file to send
    std::uint64_t fileSize = 0;
    bool allowHeader = false;
};

std::string_view Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Content Too Large";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Error";
    }
}

Response ErrorResponse(int status) {
    Response r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = std::to_string(status) + " " + std::string(Reason(status)) + "\n";
    r.allowHeader = status == 405;
    return r;
}

std::string Header(const Response& r, std::uint64_t length) {
    std::string h = "HTTP/1.1 " + std::to_string(r.status) + " " + std::string(Reason(r.status)) +
                    "\r\nContent-Type: " + r.contentType +
                    "\r\nContent-Length: " + std::to_string(length) +
                    "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    if (r.allowHeader) h += "Allow: GET, HEAD\r\n";
    h += "Connection: close\r\n\r\n";
    return h;
}

struct Folders {
    std::string project;  // canonical, empty when none
    std::string ruffle;   // canonical, empty when none
};

// Answers one request head (the request line and headers, without the blank line).
Response Answer(std::string_view head, const Folders& folders, bool& isHead) {
    isHead = false;
    const std::size_t lineEnd = head.find_first_of("\r\n");
    const std::string_view line = head.substr(0, lineEnd);
    const std::size_t sp1 = line.find(' ');
    if (sp1 == std::string_view::npos) return ErrorResponse(400);
    const std::size_t sp2 = line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos) return ErrorResponse(400);
    const std::string_view method = line.substr(0, sp1);
    const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = line.substr(sp2 + 1);
    if (!version.starts_with("HTTP/1.")) return ErrorResponse(400);
    if (method == "HEAD") isHead = true;
    else if (method != "GET") return ErrorResponse(405);
    if (target.empty() || target[0] != '/') return ErrorResponse(400);

    std::string_view rawPath = target.substr(0, target.find_first_of("?#"));
    const std::optional<std::string> decoded = PercentDecode(rawPath);
    if (!decoded || decoded->find('\0') != std::string::npos) return ErrorResponse(400);

    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= decoded->size()) {
        std::size_t end = decoded->find('/', start);
        if (end == std::string::npos) end = decoded->size();
        const std::string segment = decoded->substr(start, end - start);
        if (segment == "..") return ErrorResponse(403);
        if (!segment.empty() && segment != ".") segments.push_back(segment);
        start = end + 1;
    }

    std::string root = folders.project;
    bool fromProject = true;
    if (!segments.empty() && segments.front() == kRufflePrefix.substr(1, kRufflePrefix.size() - 2) &&
        !folders.ruffle.empty()) {
        root = folders.ruffle;
        fromProject = false;
        segments.erase(segments.begin());
    }
    if (root.empty()) return ErrorResponse(404);
    if (segments.empty()) return ErrorResponse(403);  // a folder: no listings

    std::string path = root;
    for (const std::string& segment : segments) path += "/" + segment;
    const std::string real = Canonical(path);
    if (real.empty()) return ErrorResponse(404);
    if (!Inside(real, root)) return ErrorResponse(403);

    const int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return ErrorResponse(errno == EACCES ? 403 : 404);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ErrorResponse(S_ISDIR(st.st_mode) ? 403 : 404);
    }

    Response r;
    r.contentType = std::string(ContentType(segments.back()));
    if (fromProject && IsPage(segments.back()) && !folders.ruffle.empty()) {
        if (static_cast<std::uint64_t>(st.st_size) > kMaxPageBytes) {
            ::close(fd);
            return ErrorResponse(413);
        }
        std::string page(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t got = 0;
        while (got < page.size()) {
            const ssize_t n = ::read(fd, page.data() + got, page.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        page.resize(got);
        r.body = AddRuffleToPage(page, std::string(kRufflePrefix) + "ruffle.js");
        return r;
    }
    r.fd = fd;
    r.fileSize = static_cast<std::uint64_t>(st.st_size);
    return r;
}

struct Connection {
    int socket = -1;
    std::string in;
    bool responding = false;
    std::string out;           // bytes still to send
    std::size_t outSent = 0;
    int file = -1;             // file still to send after out
    std::uint64_t fileLeft = 0;
    std::chrono::steady_clock::time_point lastProgress;

    void closeAll() {
        if (file >= 0) ::close(file);
        if (socket >= 0) ::close(socket);
        file = socket = -1;
    }
};

void SetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

} // namespace

std::string FindRuffleFolder() {
    const fs::path folder = ExecutableFolder();
    if (IsRuffleFolder(folder / "ruffle")) return (folder / "ruffle").string();
    const fs::path installed = (folder / QB_BIN_TO_PIXBRIDGE / "ruffle").lexically_normal();
    if (IsRuffleFolder(installed)) return installed.string();
    return {};
}

std::string RuffleScriptTags(std::string_view scriptUrl) {
    std::string tags =
        "<script>window.RufflePlayer=window.RufflePlayer||{};"
        "window.RufflePlayer.config=Object.assign({autoplay:\"on\",unmuteOverlay:\"hidden\","
        "splashScreen:false,allowScriptAccess:true},window.RufflePlayer.config||{});</script>\n"
        "<script src=\"";
    tags += scriptUrl;
    tags += "\"></script>\n";
    return tags;
}

std::string AddRuffleToPage(std::string_view page, std::string_view scriptUrl) {
    const std::string lower = LowerAscii(page);
    std::size_t at = 0;
    const std::size_t head = lower.find("<head");
    if (head != std::string::npos) {
        const std::size_t close = lower.find('>', head);
        if (close != std::string::npos) at = close + 1;
    }
    std::string out(page.substr(0, at));
    if (at > 0) out += "\n";
    out += RuffleScriptTags(scriptUrl);
    out += page.substr(at);
    return out;
}

bool PublishWebPlayer(const std::string& folder, std::string_view page, const std::string& ruffleFolder,
                      std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    std::error_code ec;
    const fs::path target = fs::path(folder) / "ruffle";
    fs::create_directories(target, ec);
    if (ec) return fail("cannot create " + target.string());
    for (const fs::directory_entry& entry : fs::directory_iterator(ruffleFolder, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string ext = LowerAscii(entry.path().extension().string());
        const bool wanted = ext == ".js" || ext == ".wasm" || name.starts_with("LICENSE") ||
                            name == "package.json";
        if (!wanted || !entry.is_regular_file(ec)) continue;
        fs::copy_file(entry.path(), target / name, fs::copy_options::overwrite_existing, ec);
        if (ec) return fail("cannot copy " + entry.path().string());
    }
    if (ec) return fail("cannot read " + ruffleFolder);
    const fs::path index = fs::path(folder) / "index.html";
    const std::string published = AddRuffleToPage(page, "ruffle/ruffle.js");
    FILE* out = std::fopen(index.c_str(), "wb");
    if (!out) return fail("cannot write " + index.string());
    const bool written = std::fwrite(published.data(), 1, published.size(), out) == published.size();
    if (std::fclose(out) != 0 || !written) return fail("cannot write " + index.string());
    return true;
}

std::string PercentEncodePath(std::string_view path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

struct GameServer::State {
    mutable std::mutex mutex;
    Folders folders;
    int listener = -1;
    int wakeRead = -1, wakeWrite = -1;
    int port = 0;
    std::thread thread;

    Folders currentFolders() const {
        std::lock_guard<std::mutex> lock(mutex);
        return folders;
    }

    void run();
};

void GameServer::State::run() {
    std::vector<Connection> connections;
    std::vector<char> chunk(kChunkBytes);
    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({wakeRead, POLLIN, 0});
        fds.push_back({listener, POLLIN, 0});
        for (const Connection& c : connections)
            fds.push_back({c.socket, static_cast<short>(c.responding ? POLLOUT : POLLIN), 0});
        const int ready = ::poll(fds.data(), static_cast<nfds_t>(fds.size()), 1000);
        if (ready < 0 && errno != EINTR) break;
        if (fds[0].revents) break;  // asked to stop

        const auto now = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < connections.size(); ++i) {
            Connection& c = connections[i];
            const short events = fds[i + 2].revents;
            if (events & (POLLERR | POLLNVAL)) {
                c.closeAll();
                continue;
            }
            if (!c.responding && (events & (POLLIN | POLLHUP))) {
                char buffer[4096];
                const ssize_t n = ::recv(c.socket, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    if (n == 0 || (errno != EAGAIN && errno != EINTR)) c.closeAll();
                    continue;
                }
                c.lastProgress = now;
                c.in.append(buffer, static_cast<std::size_t>(n));
                std::size_t end = c.in.find("\r\n\r\n");
                if (end == std::string::npos) end = c.in.find("\n\n");
                Response response;
                bool isHead = false;
                if (end != std::string::npos) {
                    response = Answer(std::string_view(c.in).substr(0, end), currentFolders(), isHead);
                } else if (c.in.size() > kMaxRequestBytes) {
                    response = ErrorResponse(431);
                } else {
                    continue;
                }
                const std::uint64_t length = response.fd >= 0 ? response.fileSize : response.body.size();
                c.out = Header(response, length);
                if (isHead) {
                    if (response.fd >= 0) ::close(response.fd);
                } else if (response.fd >= 0) {
                    c.file = response.fd;
                    c.fileLeft = response.fileSize;
                } else {
                    c.out += response.body;
                }
                c.responding = true;
                c.in.clear();
                continue;
            }
            if (c.responding && (events & (POLLOUT | POLLHUP))) {
                if (c.outSent == c.out.size() && c.file >= 0 && c.fileLeft > 0) {
                    const ssize_t n = ::read(c.file, chunk.data(),
                                             static_cast<std::size_t>(std::min<std::uint64_t>(c.fileLeft, chunk.size())));
                    if (n <= 0) {  // the file shrank: the promised length cannot be kept
                        c.closeAll();
                        continue;
                    }
                    c.out.assign(chunk.data(), static_cast<std::size_t>(n));
                    c.outSent = 0;
                    c.fileLeft -= static_cast<std::uint64_t>(n);
                }
                if (c.outSent < c.out.size()) {
                    const ssize_t n = ::send(c.socket, c.out.data() + c.outSent, c.out.size() - c.outSent,
                                             MSG_NOSIGNAL);
                    if (n < 0) {
                        if (errno != EAGAIN && errno != EINTR) c.closeAll();
                        continue;
                    }
                    c.outSent += static_cast<std::size_t>(n);
                    c.lastProgress = now;
                }
                if (c.outSent == c.out.size() && (c.file < 0 || c.fileLeft == 0)) {
                    ::shutdown(c.socket, SHUT_WR);
                    c.closeAll();
                }
                continue;
            }
            if (now - c.lastProgress > std::chrono::milliseconds(kIdleTimeoutMs)) c.closeAll();
        }
        connections.erase(std::remove_if(connections.begin(), connections.end(),
                                         [](const Connection& c) { return c.socket < 0; }),
                          connections.end());

        if (fds[1].revents & POLLIN) {
            for (int accepted = 0; accepted < 16; ++accepted) {
                const int s = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (s < 0) break;
                if (static_cast<int>(connections.size()) >= kMaxConnections) {
                    const std::string busy = Header(ErrorResponse(503), 0);
                    (void)::send(s, busy.data(), busy.size(), MSG_NOSIGNAL);
                    ::close(s);
                    continue;
                }
                Connection c;
                c.socket = s;
                c.lastProgress = now;
                connections.push_back(std::move(c));
            }
        }
    }
    for (Connection& c : connections) c.closeAll();
}

GameServer::GameServer() : state_(std::make_unique<State>()) {}

GameServer::~GameServer() { stop(); }

bool GameServer::start(std::string* error) {
    if (running()) return true;
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        if (state_->listener >= 0) ::close(state_->listener);
        state_->listener = -1;
        return false;
    };
    state_->listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (state_->listener < 0) return fail("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(state_->listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return fail("bind");
    if (::listen(state_->listener, 64) != 0) return fail("listen");
    socklen_t length = sizeof address;
    if (::getsockname(state_->listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return fail("getsockname");
    SetNonBlocking(state_->listener);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
    state_->wakeRead = pipeFds[0];
    state_->wakeWrite = pipeFds[1];
    state_->port = ntohs(address.sin_port);
    state_->thread = std::thread([state = state_.get()] { state->run(); });
    return true;
}

void GameServer::stop() {
    if (!state_ || !state_->thread.joinable()) return;
    const char byte = 1;
    (void)!::write(state_->wakeWrite, &byte, 1);
    state_->thread.join();
    ::close(state_->listener);
    ::close(state_->wakeRead);
    ::close(state_->wakeWrite);
    state_->listener = state_->wakeRead = state_->wakeWrite = -1;
    state_->port = 0;
}

bool GameServer::running() const { return state_->thread.joinable(); }

int GameServer::port() const { return state_->port; }

void GameServer::setFolders(const std::string& projectFolder, const std::string& ruffleFolder) {
    Folders folders;
    if (!projectFolder.empty()) folders.project = Canonical(projectFolder);
    if (!ruffleFolder.empty()) folders.ruffle = Canonical(ruffleFolder);
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->folders = std::move(folders);
}

std::string GameServer::urlOf(std::string_view fileName) const {
    return "http://127.0.0.1:" + std::to_string(port()) + "/" + PercentEncodePath(fileName);
}

std::string ServeTestGame(const std::string& projectFolder, const std::string& ruffleFolder,
                          std::string_view pageName, std::string* error) {
    static GameServer server;
    if (!server.start(error)) return {};
    server.setFolders(projectFolder, ruffleFolder);
    return server.urlOf(pageName);
}

} // namespace qb
