// A web server of the test's own on 127.0.0.1 (a free port), answering GET requests from a
// table of paths on a thread of its own, one connection at a time, until it goes.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace orbel::test {

class LocalServer {
  public:
    struct Answer {
        int status = 200;
        std::string headers;  // extra header lines, each ending in \r\n
        std::string body;
    };
    LocalServer();
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    void Serve(const std::string& path, Answer answer);
    // http://127.0.0.1:PORT followed by the path.
    std::string Url(const std::string& path) const;
    int Requests() const { return requests_; }

  private:
    void Run();
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    std::thread thread_;
};

}  // namespace orbel::test
