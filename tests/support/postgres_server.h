#pragma once

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <unistd.h>

// A PostgreSQL server of the tests' own: initdb into a temporary folder, listening only on a
// Unix socket there, stopped when the test program ends. initdb refuses to run as root, so
// under root the server runs as the `postgres` system user of Debian's package.
class PostgresServer {
  public:
    // The server shared by a test program, started on first use; nullptr (and `why`) when it
    // cannot be started.
    static PostgresServer* shared(QString* why) {
        static std::unique_ptr<PostgresServer> server;
        static QString failure;
        if (!server && failure.isEmpty()) {
            auto candidate = std::unique_ptr<PostgresServer>(new PostgresServer);
            if (candidate->start(&failure))
                server = std::move(candidate);
        }
        if (why)
            *why = failure;
        return server.get();
    }

    ~PostgresServer() {
        if (started_)
            run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data(), QStringLiteral("-m"),
                                           QStringLiteral("immediate"), QStringLiteral("stop")});
    }

    // A new empty database and its URL.
    QString createDatabase(const QString& name) {
        QString output;
        if (!run(QStringLiteral("createdb"),
                 {QStringLiteral("-h"), dir_.path(), QStringLiteral("-p"), QString::number(port_),
                  QStringLiteral("-U"), QStringLiteral("kx"), name},
                 &output))
            return {};
        return QStringLiteral("postgresql://kx@localhost:%1/%2?host=%3")
            .arg(port_)
            .arg(name, dir_.path());
    }

  private:
    PostgresServer() = default;

    QString data() const { return dir_.path() + QStringLiteral("/data"); }

    static QString binDir() {
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql"))
                                         .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (qsizetype i = versions.size() - 1; i >= 0; --i) {
            const QString dir =
                QStringLiteral("/usr/lib/postgresql/") + versions[i] + QStringLiteral("/bin");
            if (QFile::exists(dir + QStringLiteral("/initdb")))
                return dir;
        }
        return {};
    }

    bool run(const QString& tool, const QStringList& arguments, QString* output = nullptr) {
        QProcess process;
        QStringList command{bin_ + u'/' + tool};
        command += arguments;
        if (asPostgres_)
            command = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--")} +
                      command;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(asPostgres_ ? QStringLiteral("runuser") : command.takeFirst(), command);
        const bool ok = process.waitForFinished(120000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (output)
            *output = QString::fromLocal8Bit(process.readAll());
        return ok;
    }

    bool start(QString* why) {
        bin_ = binDir();
        if (bin_.isEmpty()) {
            *why = QStringLiteral("PostgreSQL is not installed (scripts/setup.sh installs it)");
            return false;
        }
        if (!dir_.isValid()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        asPostgres_ = geteuid() == 0;
        if (asPostgres_ &&
            QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("postgres:postgres"), dir_.path()}) != 0) {
            *why = QStringLiteral("cannot hand the folder to the postgres user");
            return false;
        }
        QString output;
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data(), QStringLiteral("-U"), QStringLiteral("kx"),
                  QStringLiteral("--auth=trust"), QStringLiteral("--no-locale"),
                  QStringLiteral("-E"), QStringLiteral("UTF8")},
                 &output)) {
            *why = QStringLiteral("initdb failed: ") + output;
            return false;
        }
        for (int attempt = 0; attempt < 5 && !started_; ++attempt) {
            port_ = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(30000));
            started_ = run(
                QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), data(), QStringLiteral("-w"), QStringLiteral("-l"),
                 dir_.path() + QStringLiteral("/server.log"), QStringLiteral("-o"),
                 QStringLiteral("-k %1 -c listen_addresses='' -p %2").arg(dir_.path()).arg(port_),
                 QStringLiteral("start")},
                &output);
        }
        if (!started_)
            *why = QStringLiteral("the server did not start: ") + output;
        return started_;
    }

    QTemporaryDir dir_{QStringLiteral("/tmp/kxpg-XXXXXX")}; // short: socket paths are limited
    QString bin_;
    bool asPostgres_ = false;
    bool started_ = false;
    int port_ = 0;
};
