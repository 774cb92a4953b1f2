#pragma once

#include "postgres_server.h"
#include "record_files.h"

#include "library/library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kx::test {

enum class Engine { SQLite, PostgreSQL };

inline std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

// A new empty library on the engine under test. The PostgreSQL server is the tests' own.
inline QString newLibraryUrl(Engine engine, const QTemporaryDir& dir) {
    if (engine == Engine::SQLite)
        return dir.path() + QStringLiteral("/library.sqlite");
    static int databases = 0;
    QString why;
    PostgresServer* server = PostgresServer::shared(&why);
    if (!server)
        return {};
    return server->createDatabase(QStringLiteral("library%1").arg(++databases));
}

struct Player {
    const char* name;
    const char* team;
    const char* hq;
};

// Writes a 4 x 3 world of normal ground with one HQ per player and one purchase; its name
// gives the map and the date ("map_yyyy-mm-dd.kxr").
inline QString writeWorld(const QString& folder, const QString& name,
                          std::initializer_list<Player> players) {
    QStringList lines{QString::fromUtf8("2026-05-01-10-00-00; Svět %1; %2; 4; 3; 4;")
                          .arg(name)
                          .arg(players.size()),
                      QStringLiteral("2026-05-01-10-00-00; create_world; NNNNNNNNNNNN;")};
    for (const Player& p : players)
        lines << QString::fromUtf8("2026-05-01-10-01-00; create_hq; %1; %2; %3;")
                     .arg(QString::fromUtf8(p.name), QString::fromLatin1(p.team),
                          QString::fromLatin1(p.hq));
    lines << QString::fromUtf8("2026-05-01-12-30-00; buy; B1; komár; 3;");
    QDir().mkpath(folder);
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += *encodeWindows1250(line) + "\r\n";
    const QString path = folder + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// A library test on both engines.
class LibraryTest : public ::testing::TestWithParam<Engine> {
  protected:
    QTemporaryDir dir;
    QString url;
    std::unique_ptr<Library> library;

    void SetUp() override {
        url = newLibraryUrl(GetParam(), dir);
        if (url.isEmpty()) {
            QString why;
            PostgresServer::shared(&why);
            if (std::getenv("KX_SKIP_POSTGRES"))
                GTEST_SKIP() << why.toStdString();
            FAIL() << "PostgreSQL: " << why.toStdString();
        }
        library = openLibrary();
        ASSERT_TRUE(library);
    }
    std::unique_ptr<Library> openLibrary(QString* notice = nullptr) {
        QString error;
        const auto location = parseLibraryLocation(url, &error);
        EXPECT_TRUE(location) << error.toStdString();
        if (!location)
            return nullptr;
        auto opened = Library::open(*location, &error, notice);
        EXPECT_TRUE(opened) << error.toStdString();
        return opened;
    }
    QString folder(const QString& name) const { return dir.path() + u'/' + name; }
};

} // namespace kx::test
