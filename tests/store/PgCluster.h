// A throwaway PostgreSQL server for the tests of the server-backed store: a cluster made with
// initdb in a folder of the build tree, run as the `postgres` user when the tests run as root,
// on a free port with its socket in that folder and fsync off, and stopped and removed when
// the test program ends. Without a PostgreSQL installation there is no cluster, and
// Unavailable() says why in one line for the tests to skip with.
#pragma once

#include <sys/types.h>

#include <string>

namespace orbel::host::test {

class PgCluster {
  public:
    // The cluster of this test program, started on first use.
    static PgCluster& Shared();

    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // Why there is no server; empty while it runs.
    const std::string& Unavailable() const { return unavailable_; }
    // A connection string for `database` over the cluster's socket.
    std::string ConnInfo(const std::string& database) const;
    // The same over TCP to 127.0.0.1, as a URI with `user` and `password`.
    std::string TcpUri(const std::string& database, const std::string& user,
                       const std::string& password) const;
    int Port() const { return port_; }
    // A new empty database (its default collation a linguistic one where the server has ICU,
    // so that only the store's own byte order keeps keys in order); its connection string.
    std::string NewDatabase();
    // Runs `sql` as the superuser on `database`; the first column of the first row, or the
    // error text prefixed with "error: ".
    std::string Superuser(const std::string& database, const std::string& sql) const;

  private:
    PgCluster();
    bool Start();
    void Stop();

    std::string unavailable_;
    std::string bindir_;
    std::string folder_;
    int port_ = 0;
    pid_t server_ = -1;
    pid_t owner_ = -1;  // the process that started it: forked children never stop it
    int databases_ = 0;
};

}  // namespace orbel::host::test
