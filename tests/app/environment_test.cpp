#include "app/file_association.h"
#include "app/recent_files.h"
#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace kx;

namespace {

struct CountingWriter : AssociationWriter {
    int written = 0;
    QString writeAssociation() override {
        ++written;
        return {};
    }
};

// A path below a plain file: nothing can be created there, whoever runs the test.
QString blockedPath(const QTemporaryDir& dir, const QString& below) {
    QFile blocker(dir.filePath("blocker"));
    EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
    return dir.filePath("blocker/" + below);
}

// Points the per-user settings somewhere else for one test.
struct SettingsHome {
    explicit SettingsHome(const QString& path) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    }
    ~SettingsHome() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
};

struct DataHome {
    QByteArray saved = qgetenv("XDG_DATA_HOME");
    explicit DataHome(const QString& path) { qputenv("XDG_DATA_HOME", path.toUtf8()); }
    ~DataHome() { qputenv("XDG_DATA_HOME", saved); }
};

} // namespace

TEST(Environment, SettingsThatCannotBeWrittenSkipTheQuestionAndKeepRecentRecordsForTheRun) {
    QTemporaryDir dir;
    SettingsHome home(blockedPath(dir, "config"));
    const std::unique_ptr<QSettings> settings(openSettings());
    ASSERT_FALSE(settings->isWritable());

    // An answer that could not be remembered would be asked for at every start.
    RecordedMessages messages;
    messages.answer = true;
    CountingWriter writer;
    runAssociationStep(*settings, messages, writer);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(writer.written, 0);

    RecentFiles recent(settings.get());
    recent.add("/records/a.kxr2");
    recent.add("/records/b.kxr");
    EXPECT_EQ(recent.paths(), QStringList({"/records/b.kxr", "/records/a.kxr2"}));
    settings->sync();
    EXPECT_EQ(settings->status(), QSettings::AccessError);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("blocker/config")));
}

TEST(Environment, SettingsInAWritableFolderAreCreatedAndAskOnce) {
    QTemporaryDir dir;
    SettingsHome home(dir.filePath("config"));
    RecordedMessages messages;
    CountingWriter writer;
    {
        const std::unique_ptr<QSettings> settings(openSettings());
        runAssociationStep(*settings, messages, writer);
    }
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(QFileInfo(dir.filePath("config/Velmora/KXReview.conf")).isFile());
    const std::unique_ptr<QSettings> again(openSettings());
    runAssociationStep(*again, messages, writer);
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST(Environment, DataFolderThatCannotBeWrittenStillRemembersTheAnswer) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
    RecordedMessages messages;
    messages.answer = true;

    {
        DataHome data(blockedPath(dir, "share"));
        XdgFileAssociation association("/usr/bin/kxreview");
        runAssociationStep(settings, messages, association);
    }
    // The question, then why the association could not be written.
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[0], QString::fromUtf8(kAssociationQuestion));
    EXPECT_TRUE(messages.shown[1].contains("Not a directory")) << messages.shown[1].toStdString();
    EXPECT_EQ(settings.value("startup").toInt(), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("blocker/share")));

    // Half a data folder: the desktop entry is written though the MIME folder is blocked.
    QTemporaryDir share;
    QFile mimeBlocker(share.filePath("mime"));
    ASSERT_TRUE(mimeBlocker.open(QIODevice::WriteOnly));
    mimeBlocker.close();
    DataHome data(share.path());
    XdgFileAssociation("/usr/bin/kxreview", [](const QString&, const QStringList&) {
    }).writeAssociation();
    EXPECT_TRUE(QFileInfo(share.filePath("applications/kxreview.desktop")).isFile());
    EXPECT_TRUE(QFileInfo(share.filePath("mime")).isFile());
}
