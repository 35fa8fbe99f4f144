#include "tests/browser/LocalServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace orbel::test {

LocalServer::LocalServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("the test's web server cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LocalServer::~LocalServer() {
    stopping_ = true;
    thread_.join();
    close(listener_);
}

void LocalServer::Serve(const std::string& path, Answer answer) {
    const std::lock_guard lock(mutex_);
    answers_[path] = std::move(answer);
}

std::string LocalServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LocalServer::Run() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        ++requests_;
        const std::size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Answer answer{404, "", "<html><head><title>Not here</title></head></html>"};
        {
            const std::lock_guard lock(mutex_);
            if (auto it = answers_.find(path); it != answers_.end()) answer = it->second;
        }
        const std::string reply = "HTTP/1.0 " + std::to_string(answer.status) +
                                  " Answer\r\nContent-Type: text/html\r\n" + answer.headers +
                                  "Content-Length: " + std::to_string(answer.body.size()) +
                                  "\r\n\r\n" + answer.body;
        send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(client);
    }
}

}  // namespace orbel::test
