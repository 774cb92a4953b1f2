#include "app/file_association.h"
#include "app/recent_files.h"
#include "app/startup.h"

#include "file_faults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kx;

TEST(StartFile, KeepsCaseAndRemovesOneQuoteAtEachEnd) {
    EXPECT_EQ(startFileFromArguments({"kxreview", "\"/data/Records/Arena 2005.KXR2\""}),
              "/data/Records/Arena 2005.KXR2");
    EXPECT_EQ(startFileFromArguments({"kxreview", " /a/b.kxr  "}), "/a/b.kxr  ");
    EXPECT_EQ(startFileFromArguments({"kxreview", "\"\"/a b.kxr2\"\""}), "\"/a b.kxr2\"");
    // Arguments split by the shell are joined again with blanks.
    EXPECT_EQ(startFileFromArguments({"kxreview", "/my", "records/x.kxr2"}), "/my records/x.kxr2");
    EXPECT_FALSE(startFileFromArguments({"kxreview"}));
    EXPECT_FALSE(startFileFromArguments({"kxreview", "   "}));
    EXPECT_FALSE(startFileFromArguments({"kxreview", "\"\""}));
}

namespace {
struct CountingWriter : AssociationWriter {
    int written = 0;
    QString writeAssociation() override {
        ++written;
        return {};
    }
};
} // namespace

TEST(Association, IsAskedUntilAnsweredOnceWhateverTheAnswer) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
    RecordedMessages messages;
    CountingWriter writer;

    messages.answer = false;
    runAssociationStep(settings, messages, writer);
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], QString::fromUtf8(kAssociationQuestion));
    EXPECT_EQ(writer.written, 0);
    EXPECT_EQ(settings.value("startup").toInt(), 1);

    runAssociationStep(settings, messages, writer);
    EXPECT_EQ(messages.shown.size(), 1) << "asked only once";

    settings.setValue("startup", 0);
    messages.answer = true;
    runAssociationStep(settings, messages, writer);
    EXPECT_EQ(messages.shown.size(), 2) << "a stored 0 asks again";
    EXPECT_EQ(writer.written, 1);
}

namespace {
// The helper programs the association ran, each as "program arg arg ...".
struct RecordedTools {
    QStringList calls;
    XdgFileAssociation::ToolRunner runner() {
        return [this](const QString& program, const QStringList& arguments) {
            calls.append((QStringList{program} + arguments).join(' '));
        };
    }
};

// Points an XDG variable at another folder for one test.
struct EnvironmentValue {
    const char* name;
    QByteArray saved;
    EnvironmentValue(const char* n, const QString& value) : name(n), saved(qgetenv(n)) {
        qputenv(name, value.toUtf8());
    }
    ~EnvironmentValue() { qputenv(name, saved); }
};

const char* const kSetDefault =
    "xdg-mime default kxreview.desktop application/x-kxreview-record application/x-kxreview-log";
} // namespace

TEST(Association, WritesTheMimeTypeAndDesktopEntryUnderTheUsersDataDirectory) {
    QTemporaryDir home, system;
    EnvironmentValue dataHome("XDG_DATA_HOME", home.path());
    EnvironmentValue dataDirs("XDG_DATA_DIRS", system.path());
    RecordedTools tools;
    XdgFileAssociation association("/opt/kx review/kxreview", tools.runner());
    association.writeAssociation();

    QFile mime(home.filePath("mime/packages/kxreview.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QString mimeText = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(mimeText.contains("<glob pattern=\"*.kxr2\"/>"));
    EXPECT_TRUE(mimeText.contains("<glob pattern=\"*.kxr\"/>"));
    EXPECT_TRUE(mimeText.contains(
        QString::fromUtf8("<comment xml:lang=\"cs\">Záznam světa Kexland</comment>")));

    QFile desktop(home.filePath("applications/kxreview.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/kx review/kxreview\" %f\n"));
    EXPECT_TRUE(entry.contains("\nTryExec=/opt/kx review/kxreview\n"));
    EXPECT_TRUE(
        entry.contains("\nMimeType=application/x-kxreview-record;application/x-kxreview-log;\n"));
    EXPECT_EQ(tools.calls, QStringList({"update-mime-database " + home.filePath("mime"),
                                        "update-desktop-database " + home.filePath("applications"),
                                        kSetDefault}));

    // A data directory that cannot be written is skipped, and the reason told.
    QFile blocker(home.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EnvironmentValue blocked("XDG_DATA_HOME", home.filePath("blocked"));
    const QString failure =
        XdgFileAssociation("/usr/bin/kxreview", tools.runner()).writeAssociation();
    EXPECT_TRUE(failure.contains("Not a directory")) << failure.toStdString();
    EXPECT_TRUE(failure.contains(home.filePath("blocked/mime/packages/kxreview.xml")));
    EXPECT_FALSE(QFile::exists(home.filePath("blocked/applications/kxreview.desktop")));
    EXPECT_EQ(tools.calls.size(), 3) << "no tool runs on files that were not written";
}

TEST(Association, AnInstalledProgramOnlyBecomesTheUsersDefault) {
    QTemporaryDir home, other, system;
    ASSERT_TRUE(QDir().mkpath(system.filePath("applications")));
    QFile installed(system.filePath("applications/kxreview.desktop"));
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
    installed.write("[Desktop Entry]\nType=Application\nName=KX Review\nExec=kxreview %f\n");
    installed.close();
    // A per-user entry written by an earlier run is not an installation.
    ASSERT_TRUE(QDir().mkpath(home.filePath("applications")));
    QFile::copy(installed.fileName(), home.filePath("applications/kxreview.desktop"));
    EnvironmentValue dataHome("XDG_DATA_HOME", home.path());
    RecordedTools tools;
    {
        EnvironmentValue dataDirs("XDG_DATA_DIRS", other.path());
        EXPECT_TRUE(XdgFileAssociation::installedDesktopEntry().isEmpty());
    }
    EnvironmentValue dataDirs("XDG_DATA_DIRS", other.path() + ":" + system.path());
    EXPECT_EQ(XdgFileAssociation::installedDesktopEntry(), installed.fileName());

    XdgFileAssociation("/home/u/build/bin/kxreview", tools.runner()).writeAssociation();
    EXPECT_EQ(tools.calls, QStringList({kSetDefault}));
    EXPECT_FALSE(QFile::exists(home.filePath("mime")));
    QFile kept(home.filePath("applications/kxreview.desktop"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_FALSE(kept.readAll().contains("/home/u/build")) << "no second desktop entry";
}

TEST(Association, AWriteFailingPartWayKeepsTheOldFilesWhole) {
    QTemporaryDir home, system;
    EnvironmentValue dataHome("XDG_DATA_HOME", home.path());
    EnvironmentValue dataDirs("XDG_DATA_DIRS", system.path());
    const QStringList paths = {"mime/packages/kxreview.xml", "applications/kxreview.desktop"};
    for (const QString& path : paths) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(home.filePath(path)).path()));
        QFile old(home.filePath(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    }
    RecordedTools tools;
    QString failure;
    {
        test::FileSizeLimit limit(64);
        failure = XdgFileAssociation("/usr/bin/kxreview", tools.runner()).writeAssociation();
    }
    EXPECT_TRUE(failure.contains("File too large")) << failure.toStdString();
    EXPECT_TRUE(tools.calls.isEmpty());
    EXPECT_EQ(test::entriesUnder(home.path()),
              QStringList({"applications", paths[1], "mime", "mime/packages", paths[0]}));
    for (const QString& path : paths) {
        QFile kept(home.filePath(path));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "old\n") << path.toStdString();
    }
}

// The settings of a run: damaged ones are read as far as they go, and when they cannot be
// written the program goes on with what it holds and says so once.
TEST(Settings, DamagedOrUnwritableFileKeepsTheProgramGoingWithOneMessage) {
    static const char kGarbage[] = "\x00\xff\x13[0.5\nstartup=\x80\x81\n\x00recentFiles=\xfe";
    const struct {
        const char* name;
        QByteArray content; // of the settings file; empty for none
        bool folderIsFile;  // the settings' folder is a regular file from the start
        bool folderLost;    // ... or becomes one after start-up
        bool asked;         // the association question comes
        const char* reason; // in the one message; empty for none
    } cases[] = {
        {"garbage", QByteArray(kGarbage, sizeof kGarbage - 1), false, false, true, ""},
        {"bad values",
         "[0.5]\nstartup=@Variant(\\0\\0\\0\\x7f\\xff)\nrecentFiles=@Variant(\\0\\0\\0\\xb\\x1)\n",
         false, false, true, ""},
        {"unwritable", "", true, false, false, "Not a directory"},
        {"lost folder", "", false, true, true, "Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("conf");
        const QString path = folder + "/settings.ini";
        const auto makeFolderAFile = [&] {
            QDir(folder).removeRecursively();
            QFile plain(folder);
            ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        };
        if (c.folderIsFile) {
            makeFolderAFile();
        } else if (!c.content.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(folder));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                        file.write(c.content) == c.content.size());
        }
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.beginGroup("0.5");
            RecordedMessages messages;
            CountingWriter writer;
            runAssociationStep(settings, messages, writer); // as at start-up
            reportSettingsTrouble(settings, messages);
            ASSERT_EQ(messages.shown.size(), 1); // the question or why nothing is kept
            EXPECT_EQ(messages.shown[0] == QString::fromUtf8(kAssociationQuestion), c.asked);
            RecentFiles recent(&settings);
            if (c.folderLost)
                makeFolderAFile();
            for (const char* record : {"/r/a.kxr", "/r/b.kxr"}) {
                recent.add(record);
                reportSettingsTrouble(settings, messages);
            }
            EXPECT_EQ(recent.paths(), QStringList({"/r/b.kxr", "/r/a.kxr"}));
            const QStringList told = messages.shown.filter(QString::fromUtf8("Nastavení nelze"));
            ASSERT_EQ(told.size(), *c.reason ? 1 : 0) << messages.shown.join("|").toStdString();
            if (*c.reason) {
                EXPECT_TRUE(told[0].contains(c.reason)) << told[0].toStdString();
                continue;
            }
        }
        QSettings again(path, QSettings::IniFormat);
        again.beginGroup("0.5");
        EXPECT_EQ(again.value("startup").toInt(), 1);
        EXPECT_EQ(again.value("recentFiles").toStringList(), QStringList({"/r/b.kxr", "/r/a.kxr"}));
    }
}
