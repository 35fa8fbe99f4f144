#include "platform/browser/PageSource.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/text/AsciiCase.h"

namespace orbel::browser {

namespace {

constexpr int kMaxRedirections = 5;
constexpr int kSecondsToWait = 10;

bool StartsWithNoCase(const std::string& s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(std::string_view(s).substr(0, prefix.size()), prefix);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A file URI's path with its escapes decoded once; false for a broken escape or a NUL.
bool DecodePath(std::string_view text, std::string& path) {
    path.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            path += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
        path += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

FetchedPage Failed(const std::string& url, std::string error) {
    FetchedPage page;
    page.url = url;
    page.title = url;
    page.error = std::move(error);
    return page;
}

FetchedPage Loaded(const std::string& url, const std::string& html) {
    FetchedPage page;
    page.ok = true;
    page.url = url;
    page.title = TitleOfHtml(html);
    if (page.title.empty()) page.title = url;
    return page;
}

FetchedPage FetchFile(const std::string& url) {
    // file:///path, or file://localhost/path.
    std::string_view rest = std::string_view(url).substr(7);
    if (StartsWithNoCase(std::string(rest.substr(0, 9)), "localhost")) rest.remove_prefix(9);
    if (rest.empty() || rest.front() != '/')
        return Failed(url, "only files on this computer can be opened");
    std::string path;
    if (!DecodePath(rest.substr(0, rest.find_first_of("?#")), path))
        return Failed(url, "the address is not a valid file address");
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return Failed(url, path + " is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failed(url, "cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return Loaded(url, text.str());
}

struct HttpAddress {
    std::string host;
    int port = 80;
    std::string target;  // path and query
};

bool ParseHttp(const std::string& url, HttpAddress& address) {
    std::string_view rest = std::string_view(url).substr(7);
    const std::size_t slash = rest.find('/');
    std::string authority(rest.substr(0, slash));
    address.target = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
    if (const std::size_t hash = address.target.find('#'); hash != std::string::npos)
        address.target.resize(hash);
    if (authority.find('@') != std::string::npos) return false;
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        const std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5) return false;
        for (char c : port)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        address.port = std::stoi(port);
        if (address.port < 1 || address.port > 65535) return false;
        authority.resize(colon);
    }
    address.host = Lower(authority);
    return !address.host.empty();
}

// One GET over HTTP/1.0 to this computer; the whole answer, or an error.
bool Get(const HttpAddress& address, std::string& answer, std::string& error) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = "no socket";
        return false;
    }
    timeval wait{kSecondsToWait, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(address.port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        close(fd);
        error = "the server at " + address.host + ":" + std::to_string(address.port) +
                " does not answer";
        return false;
    }
    const std::string request = "GET " + address.target + " HTTP/1.0\r\nHost: " + address.host +
                                ":" + std::to_string(address.port) +
                                "\r\nConnection: close\r\n\r\n";
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            close(fd);
            error = "the server closed the connection";
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n == 0) break;
        if (n < 0) {
            close(fd);
            error = "the server did not answer in time";
            return false;
        }
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

// The value of a header of the answer's head; empty when it has none.
std::string Header(const std::string& head, std::string_view name) {
    std::istringstream lines(head);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos ||
            !EqualsIgnoringAsciiCase(std::string_view(line).substr(0, colon), name))
            continue;
        std::string value = line.substr(colon + 1);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())))
            value.erase(0, 1);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
            value.pop_back();
        return value;
    }
    return {};
}

FetchedPage FetchHttp(std::string url) {
    for (int hop = 0; hop <= kMaxRedirections; ++hop) {
        HttpAddress address;
        if (!ParseHttp(url, address)) return Failed(url, "the address is not valid");
        if (address.host != "127.0.0.1" && address.host != "localhost")
            return Failed(url,
                          "only web servers on this computer can be reached without a "
                          "desktop (" +
                              address.host + " is not)");
        std::string answer, error;
        if (!Get(address, answer, error)) return Failed(url, error);
        const std::size_t end = answer.find("\r\n\r\n");
        if (end == std::string::npos || !answer.starts_with("HTTP/"))
            return Failed(url, "the server's answer is not HTTP");
        const std::string head = answer.substr(0, end);
        const std::size_t space = head.find(' ');
        const int status = space == std::string::npos ? 0 : std::atoi(head.c_str() + space + 1);
        if (status >= 300 && status < 400) {
            const std::string location = Header(head, "Location");
            if (location.empty()) return Failed(url, "a redirection leads nowhere");
            url = location.starts_with("/")
                      ? "http://" + address.host + ":" + std::to_string(address.port) + location
                      : location;
            if (!StartsWithNoCase(url, "http://"))
                return Failed(url, "a redirection leaves the web");
            continue;
        }
        if (status != 200) return Failed(url, "the server answers " + std::to_string(status));
        return Loaded(url, answer.substr(end + 4));
    }
    return Failed(url, "too many redirections");
}

}  // namespace

std::string CompleteAddress(const std::string& typed) {
    std::string text = typed;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.erase(0, 1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    if (text.empty()) return text;
    if (text.front() == '/') return "file://" + text;
    if (text.find("://") != std::string::npos || StartsWithNoCase(text, "about:")) return text;
    return "http://" + text;
}

FetchedPage FetchPage(const std::string& url) {
    if (StartsWithNoCase(url, "file://")) return FetchFile(url);
    if (StartsWithNoCase(url, "http://")) return FetchHttp(url);
    const std::size_t colon = url.find(':');
    return Failed(url, "the browser without a desktop does not open " +
                           (colon == std::string::npos ? std::string("this address")
                                                       : url.substr(0, colon) + ": addresses"));
}

std::string TitleOfHtml(const std::string& html) {
    const std::string lower = Lower(html);
    std::size_t open = lower.find("<title");
    while (open != std::string::npos && open + 6 < lower.size() && lower[open + 6] != '>' &&
           !std::isspace(static_cast<unsigned char>(lower[open + 6])))
        open = lower.find("<title", open + 6);
    if (open == std::string::npos) return {};
    const std::size_t start = lower.find('>', open);
    if (start == std::string::npos) return {};
    const std::size_t close = lower.find("</title", start);
    const std::string raw =
        html.substr(start + 1, (close == std::string::npos ? html.size() : close) - start - 1);
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string title;
    bool space = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !title.empty();
            continue;
        }
        if (space) title += ' ';
        space = false;
        char decoded = c;
        if (c == '&') {
            for (const auto& [name, value] : kEntities)
                if (lower.compare(start + 1 + i, name.size(), name) == 0) {
                    decoded = value;
                    i += name.size() - 1;
                    break;
                }
        }
        title += decoded;
    }
    return title;
}

}  // namespace orbel::browser
