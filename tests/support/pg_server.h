// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A PostgreSQL server of the test's own: a fresh cluster in a temporary
// folder, reachable only through a Unix socket in that folder, with trust
// authentication and a superuser. When the process runs as root the server
// runs as "nobody", since PostgreSQL refuses root.
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace pgtest
{

class PgServer
{
public:
    static constexpr const char *kSuperuser = "quellix";

    // Makes the cluster and starts it; error() says why when it cannot.
    // Tests do without durability (no fsync); a benchmark measures with it.
    explicit PgServer(bool durable = false);
    // Stops the server at once and removes its folder.
    ~PgServer();
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    bool ok() const { return error_.isEmpty(); }
    const QString &error() const { return error_; }
    const QString &folder() const { return folder_; }
    int port() const { return port_; }

    // A libpq connection string for database as user.
    QString connection(const QString &database, const QString &user = QString::fromLatin1(kSuperuser)) const;

    // The server stopped and started again (a lost server, a restart); false when pg_ctl fails.
    bool stop();
    bool start();

    // Runs statements in database as the superuser; empty when all ran, else the first error.
    QString exec(const QString &database, const QStringList &statements) const;
    // A new empty database owned by the superuser; its name, empty when it cannot be made.
    QString createDatabase();
    // A login role that may read every table in database and change nothing; false when it cannot be made.
    bool createReadOnlyRole(const QString &database, const QString &role);
    // A superuser that must give password to log in; false when it cannot be made.
    bool createPasswordRole(const QString &role, const QString &password);

private:
    // Runs a server program (as the unprivileged user when we are root); false and error_ on failure.
    bool run(const QString &program, const QStringList &arguments, int timeoutMs = 60000);
    QString binaries_;
    QString folder_;
    int port_ = 0;
    pid_t owner_ = 0; // the process that started the server; forked children leave it alone
    bool asNobody_ = false;
    bool durable_ = false;
    QString error_;
    int databases_ = 0;
};

// The process's server, started at its first use and stopped at exit.
PgServer &server();

} // namespace pgtest
