// SPDX-License-Identifier: GPL-3.0-or-later
#include "pg_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVersionNumber>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

#include <pwd.h>
#include <unistd.h>

namespace pgtest
{

namespace
{

// Debian keeps initdb and pg_ctl off the PATH, one folder per major version.
QString newestBinaries()
{
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString &v : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(v) + QStringLiteral("/bin");
        const QVersionNumber version = QVersionNumber::fromString(v);
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")) &&
            (best.isEmpty() || version > bestVersion)) {
            best = bin;
            bestVersion = version;
        }
    }
    return best;
}

// Where the server's folder goes: the temporary folder, unless the socket's
// path would be too long for a Unix socket or the unprivileged user could
// not reach it.
QString serverParent(bool asNobody)
{
    const QString temp = QDir::tempPath();
    bool reachable = true;
    for (QDir d(temp); asNobody && !d.isRoot(); d.cdUp())
        reachable = reachable && (QFile::permissions(d.path()) & QFileDevice::ExeOther);
    return reachable && temp.size() < 60 ? temp : QStringLiteral("/tmp");
}

QString connectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("pgtest-%1").arg(++counter);
}

} // namespace

PgServer::PgServer(bool durable) : owner_(::getpid()), durable_(durable)
{
    binaries_ = newestBinaries();
    if (binaries_.isEmpty()) {
        error_ = QStringLiteral("no initdb and pg_ctl under /usr/lib/postgresql/<version>/bin: "
                                "run scripts/install-deps.sh test");
        return;
    }
    asNobody_ = ::geteuid() == 0;
    QByteArray templ = QFile::encodeName(serverParent(asNobody_) + QStringLiteral("/quellix-pg-XXXXXX"));
    if (!::mkdtemp(templ.data())) {
        error_ = QStringLiteral("cannot make a temporary folder");
        return;
    }
    folder_ = QFile::decodeName(templ);
    // Parallel test processes each have a port; the socket's name includes it.
    port_ = 20000 + int(::getpid() % 30000);
    if (asNobody_) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody || ::chown(templ.constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            error_ = QStringLiteral("cannot hand %1 to the user nobody").arg(folder_);
            return;
        }
    }
    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), folder_ + QStringLiteral("/data"), QStringLiteral("-U"),
              QString::fromLatin1(kSuperuser), QStringLiteral("--auth=trust"), QStringLiteral("-E"),
              QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")}))
        return;
    // Trust for everyone but the members of one role, who must give a password.
    QFile hba(folder_ + QStringLiteral("/data/pg_hba.conf"));
    if (!hba.open(QIODevice::ReadWrite)) {
        error_ = hba.errorString();
        return;
    }
    const QByteArray rules = "local all +password_login scram-sha-256\n" + hba.readAll();
    hba.seek(0);
    hba.write(rules);
    hba.close();
    start();
}

PgServer::~PgServer()
{
    if (::getpid() != owner_ || folder_.isEmpty())
        return;
    // Immediate shutdown by signal: no QProcess at exit, and nothing to keep.
    QFile pidFile(folder_ + QStringLiteral("/data/postmaster.pid"));
    if (pidFile.open(QIODevice::ReadOnly)) {
        const pid_t pid = pid_t(pidFile.readLine().trimmed().toLongLong());
        if (pid > 0 && ::kill(pid, SIGQUIT) == 0)
            for (int i = 0; i < 500 && ::kill(pid, 0) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    QDir(folder_).removeRecursively();
}

bool PgServer::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess p;
    QStringList args;
    QString command = binaries_ + QLatin1Char('/') + program;
    if (asNobody_) {
        args << QStringLiteral("--reuid=nobody") << QStringLiteral("--regid=nogroup")
             << QStringLiteral("--clear-groups") << command;
        command = QStringLiteral("setpriv");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder_);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(command, args + arguments);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error_ = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAll()) + p.errorString());
        p.kill();
        p.waitForFinished();
        return false;
    }
    return true;
}

bool PgServer::start()
{
    // No TCP at all.
    QString options =
        QStringLiteral("-c listen_addresses='' -c unix_socket_directories='%1' -p %2").arg(folder_).arg(port_);
    if (!durable_)
        options += QStringLiteral(" -c fsync=off -c synchronous_commit=off -c full_page_writes=off");
    if (!run(QStringLiteral("pg_ctl"),
             {QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-D"), folder_ + QStringLiteral("/data"),
              QStringLiteral("-l"), folder_ + QStringLiteral("/server.log"), QStringLiteral("-o"), options}))
        return false;
    error_.clear();
    return true;
}

bool PgServer::stop()
{
    return run(QStringLiteral("pg_ctl"),
               {QStringLiteral("stop"), QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("fast"),
                QStringLiteral("-D"), folder_ + QStringLiteral("/data")});
}

QString PgServer::connection(const QString &database, const QString &user) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4").arg(folder_).arg(port_).arg(database, user);
}

QString PgServer::exec(const QString &database, const QStringList &statements) const
{
    const QString name = connectionName();
    QString fault;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        d.setHostName(folder_);
        d.setPort(port_);
        d.setDatabaseName(database);
        d.setUserName(QString::fromLatin1(kSuperuser));
        if (!d.open()) {
            fault = d.lastError().text();
        } else {
            QSqlQuery q(d);
            for (const QString &s : statements) {
                if (!q.exec(s)) {
                    fault = s + QStringLiteral(": ") + q.lastError().text();
                    break;
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return fault;
}

QString PgServer::createDatabase()
{
    const QString name = QStringLiteral("archive_%1").arg(++databases_);
    // template0 copies fastest and carries nothing another test left in template1.
    const QString fault =
        exec(QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE %1 TEMPLATE template0").arg(name)});
    if (!fault.isEmpty()) {
        error_ = fault;
        return {};
    }
    return name;
}

bool PgServer::createReadOnlyRole(const QString &database, const QString &role)
{
    QString fault =
        exec(QStringLiteral("postgres"), {QStringLiteral("CREATE ROLE %1 LOGIN").arg(role),
                                          QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(database, role)});
    if (fault.isEmpty())
        fault = exec(database, {QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(role),
                                QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(role)});
    if (!fault.isEmpty())
        error_ = fault;
    return fault.isEmpty();
}

bool PgServer::createPasswordRole(const QString &role, const QString &password)
{
    const QString fault = exec(
        QStringLiteral("postgres"),
        {QStringLiteral("DO $$ BEGIN CREATE ROLE password_login NOLOGIN; EXCEPTION WHEN duplicate_object THEN END $$"),
         QStringLiteral("CREATE ROLE %1 LOGIN SUPERUSER PASSWORD '%2' IN ROLE password_login").arg(role, password)});
    if (!fault.isEmpty())
        error_ = fault;
    return fault.isEmpty();
}

PgServer &server()
{
    static const std::unique_ptr<PgServer> shared = std::make_unique<PgServer>();
    return *shared;
}

} // namespace pgtest
