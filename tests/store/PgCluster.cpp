#include "tests/store/PgCluster.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

namespace orbel::host::test {

namespace {

namespace fs = std::filesystem;

// The newest installed server's programs: $ORBEL_PG_BINDIR, else Debian's versioned folders.
std::string FindBindir() {
    if (const char* dir = std::getenv("ORBEL_PG_BINDIR"); dir && *dir) return dir;
    std::string best;
    int bestVersion = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const int version = std::atoi(entry.path().filename().c_str());
        const fs::path bin = entry.path() / "bin";
        if (version > bestVersion && fs::exists(bin / "initdb") && fs::exists(bin / "postgres")) {
            best = bin.string();
            bestVersion = version;
        }
    }
    return best;
}

int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

// Runs `argv` as the server's user (root may not run the server), its output into `log`;
// the child's pid.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& log, const passwd* user) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::setsid();
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
        ::dup2(out, 1);
        ::dup2(out, 2);
    }
    if (user && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                 ::setuid(user->pw_uid) != 0))
        ::_exit(126);
    ::execv(args[0], args.data());
    ::_exit(127);
}

std::string Tail(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last;
}

}  // namespace

PgCluster& PgCluster::Shared() {
    static std::unique_ptr<PgCluster> cluster(new PgCluster());
    return *cluster;
}

PgCluster::PgCluster() : owner_(::getpid()) {
    bindir_ = FindBindir();
    if (bindir_.empty()) {
        unavailable_ = "PostgreSQL is not installed (no initdb in /usr/lib/postgresql/*/bin)";
        return;
    }
    if (!Start()) Stop();
}

PgCluster::~PgCluster() {
    Stop();
}

bool PgCluster::Start() {
    const passwd* user = nullptr;
    if (::geteuid() == 0) {
        user = ::getpwnam("postgres");
        if (!user) {
            unavailable_ = "the tests run as root and there is no postgres user to run the server";
            return false;
        }
    }
    std::string pattern = std::string(ORBEL_PG_CLUSTER_PARENT) + "/pg-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        unavailable_ = "cannot make a folder for the server in " ORBEL_PG_CLUSTER_PARENT;
        return false;
    }
    folder_ = pattern;
    if (user && ::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0) {
        unavailable_ = "cannot give " + folder_ + " to the postgres user";
        return false;
    }
    const std::string log = folder_ + "/log";
    const pid_t initdb = Spawn({bindir_ + "/initdb", "-D", folder_ + "/data", "-A", "trust", "-U",
                                "postgres", "--no-sync", "-E", "UTF8", "--locale=C"},
                               log, user);
    int status = 0;
    ::waitpid(initdb, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        unavailable_ = "initdb failed (" + Tail(log) + ")";
        return false;
    }
    port_ = FreePort();
    server_ = Spawn({bindir_ + "/postgres", "-D", folder_ + "/data", "-p", std::to_string(port_),
                     "-k", folder_, "-c", "listen_addresses=127.0.0.1", "-c", "fsync=off", "-c",
                     "synchronous_commit=off", "-c", "full_page_writes=off"},
                    log, user);
    const std::string conninfo = ConnInfo("postgres");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (PQping(conninfo.c_str()) != PQPING_OK) {
        if (::waitpid(server_, &status, WNOHANG) == server_) {
            server_ = -1;
            unavailable_ = "the server did not start (" + Tail(log) + ")";
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            unavailable_ = "the server did not answer within 30 s";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void PgCluster::Stop() {
    if (::getpid() != owner_) return;
    if (server_ > 0) {
        // A fast shutdown: the clients are the test's own and may be cut off.
        ::kill(server_, SIGINT);
        int status = 0;
        ::waitpid(server_, &status, 0);
        server_ = -1;
    }
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        folder_.clear();
    }
}

std::string PgCluster::ConnInfo(const std::string& database) const {
    return "host=" + folder_ + " port=" + std::to_string(port_) +
           " user=postgres dbname=" + database;
}

std::string PgCluster::TcpUri(const std::string& database, const std::string& user,
                              const std::string& password) const {
    return "postgresql://" + user + ":" + password + "@127.0.0.1:" + std::to_string(port_) + "/" +
           database;
}

std::string PgCluster::NewDatabase() {
    const std::string name =
        "orbel_" + std::to_string(::getpid()) + "_" + std::to_string(++databases_);
    // Where the server has ICU, a linguistic default collation ("a" before "B").
    std::string made = Superuser("postgres", "CREATE DATABASE " + name +
                                                 " TEMPLATE template0 LOCALE_PROVIDER icu "
                                                 "ICU_LOCALE 'und' LOCALE 'C'");
    if (made.starts_with("error: ")) made = Superuser("postgres", "CREATE DATABASE " + name);
    return made.starts_with("error: ") ? std::string() : ConnInfo(name);
}

std::string PgCluster::Superuser(const std::string& database, const std::string& sql) const {
    PGconn* conn = PQconnectdb(ConnInfo(database).c_str());
    std::string out;
    if (PQstatus(conn) != CONNECTION_OK) {
        out = std::string("error: ") + PQerrorMessage(conn);
    } else {
        PGresult* r = PQexec(conn, sql.c_str());
        const ExecStatusType s = PQresultStatus(r);
        if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK)
            out = std::string("error: ") + PQresultErrorMessage(r);
        else if (PQntuples(r) > 0 && PQnfields(r) > 0)
            out = PQgetvalue(r, 0, 0);
        PQclear(r);
    }
    PQfinish(conn);
    return out;
}

}  // namespace orbel::host::test
