#include "editor_fixture.h"

#include <QMessageBox>
#include <QTimer>

#include <unistd.h>

namespace {

// Makes the current directory one in which no file can be created: a folder without write
// permission, or, where permissions do not bind (a test run as root), a folder that has been
// removed while current.
struct UnwritableCurrentFolder {
    QString path;
    explicit UnwritableCurrentFolder(const QString& parent) : path(parent + "/locked") {
        QDir().mkpath(path);
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QDir::setCurrent(path);
        if (::access(".", W_OK) == 0)
            QDir(parent).rmdir("locked");
    }
    ~UnwritableCurrentFolder() {
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner);
    }
    static bool takesFiles() {
        QFile probe("probe");
        const bool created = probe.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (created)
            probe.remove();
        return created;
    }
};

// Closes every modal box as it appears, noting its object name and text, with the button
// that Enter would press.
struct BoxCloser {
    QStringList seen;
    QTimer timer;
    BoxCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen.append(box->objectName() + ": " + box->text());
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer.start(20);
    }
};

TEST_F(EditorWindowTest, CurrentFolderThatTakesNoFileGivesAMessageAndTheRetryQuestion) {
    UnwritableCurrentFolder locked(folder.path());
    ASSERT_FALSE(UnwritableCurrentFolder::takesFiles());

    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].startsWith(QString::fromUtf8("Soubor mapy „")));
    EXPECT_TRUE(
        messages.shown[0].contains(QString::fromUtf8("mapa.xml“ se nepodařilo vytvořit:\n")));
    EXPECT_EQ(messages.shown[1], QString::fromUtf8("Mapu se nepodařilo uložit. Opakovat?"));

    // A retry fails the same way and asks nothing more; the map stays as drawn.
    messages.answer = true;
    click(2, 2);
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 5);
    EXPECT_EQ(window.editor().editFields(1, 1), window.editor().paintTerrain);
    EXPECT_TRUE(files().isEmpty());

    // Once the folder takes files again, saving works.
    QDir::setCurrent(folder.path());
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(files(), QStringList({"mapa.xml"}));
    EXPECT_EQ(messages.shown.size(), 5);
}

TEST_F(EditorWindowTest, CurrentFolderThatTakesNoFileWithTheRealMessageBoxes) {
    UnwritableCurrentFolder locked(folder.path());
    window.setMessages(nullptr);
    BoxCloser closer;

    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    // Enter on the question takes its default answer, No: no second attempt.
    ASSERT_EQ(closer.seen.size(), 2);
    EXPECT_TRUE(closer.seen[0].startsWith(QString::fromUtf8("messageBox: Soubor mapy „")));
    EXPECT_EQ(closer.seen[1],
              QString::fromUtf8("questionBox: Mapu se nepodařilo uložit. Opakovat?"));
    EXPECT_TRUE(window.isVisible());
}

} // namespace
