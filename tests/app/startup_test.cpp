#include "app/file_association.h"
#include "app/startup.h"

#include <QDir>
#include <QFile>
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
    EXPECT_EQ(startFileFromArguments({"kxreview", "/my", "records/x.kxr2"}),
              "/my records/x.kxr2");
    EXPECT_FALSE(startFileFromArguments({"kxreview"}));
    EXPECT_FALSE(startFileFromArguments({"kxreview", "   "}));
    EXPECT_FALSE(startFileFromArguments({"kxreview", "\"\""}));
}

namespace {
struct CountingWriter : AssociationWriter {
    int written = 0;
    void writeAssociation() override { ++written; }
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

TEST(Association, WritesTheMimeTypeAndDesktopEntryUnderTheUsersDataDirectory) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    XdgFileAssociation association("/opt/kx review/kxreview", false);
    association.writeAssociation();

    QFile mime(home.filePath("mime/packages/kxreview-kxr2.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QString mimeText = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(mimeText.contains("<glob pattern=\"*.kxr2\"/>"));
    EXPECT_TRUE(mimeText.contains(QString::fromUtf8("<comment>Záznam světa Kexland</comment>")));

    QFile desktop(home.filePath("applications/kxreview.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains("Exec=\"/opt/kx review/kxreview\" %f\n"));
    EXPECT_TRUE(entry.contains("MimeType=application/x-kxreview-record;"));

    // A data directory that cannot be written is skipped without a word.
    QFile blocker(home.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", home.filePath("blocked").toUtf8());
    XdgFileAssociation("/usr/bin/kxreview", false).writeAssociation();
    EXPECT_FALSE(QFile::exists(home.filePath("blocked/applications/kxreview.desktop")));
}
