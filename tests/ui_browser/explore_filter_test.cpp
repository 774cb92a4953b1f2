#include "browser_fixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kx;

namespace {

const QStringList kRecord = {QString::fromUtf8("2005-12-03-14-05-09; Les u potoka; 1; 5; 3; 4;"),
                             QStringLiteral("2005-12-03-14-05-09; create_world; NNBSNNXNNNSSSNn;"),
                             QStringLiteral("2005-12-03-14-06-00; create_hq; Pepa; les; C0;")};

// The browser with settings of its own.
class BrowserExtras : public BrowserFixture {
  protected:
    QStringList shownMaps(TFExplore& window) {
        QStringList out;
        auto* list = child<QTreeWidget>(window, "lvMaps");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (!list->topLevelItem(i)->isHidden())
                out.append(list->topLevelItem(i)->text(0));
        }
        return out;
    }
    QSettings* settingsIn(const QTemporaryDir& folder) {
        settings = std::make_unique<QSettings>(folder.filePath(QStringLiteral("kx.ini")),
                                               QSettings::IniFormat);
        return settings.get();
    }

    std::unique_ptr<QSettings> settings;
};

} // namespace

TEST_F(BrowserExtras, TheFilterNarrowsTheListAsTheUserTypes) {
    for (const char* name : {"Arena_2005-03-12.kxr", "Arena_2006-01-02.kxr", "Les_2005-03-12.kxr",
                             "Jánův_háj_2005-07-01.kxr"})
        files.write(QString::fromUtf8(name), kRecord);
    listDirectory(explore, dir);
    ASSERT_EQ(shownMaps(explore).size(), 4);

    auto* filter = child<QLineEdit>(explore, "edFilter");
    QTest::keyClicks(filter, QStringLiteral("are"));
    EXPECT_EQ(shownMaps(explore), (QStringList{"Arena", "Arena"}));
    QTest::keyClicks(filter, QStringLiteral("na 2006"));
    EXPECT_EQ(shownMaps(explore), QStringList{"Arena"});
    filter->setText(QStringLiteral("januv"));
    EXPECT_EQ(shownMaps(explore), QStringList{QString::fromUtf8("Jánův_háj")});

    // A selected row that the filter hides is no longer the one that opens.
    filter->clear();
    auto* list = child<QTreeWidget>(explore, "lvMaps");
    list->setCurrentItem(list->topLevelItem(3)); // Les
    ASSERT_EQ(child<QLabel>(explore, "lbMN")->text(), QStringLiteral("Les u potoka"));
    filter->setText(QStringLiteral("arena"));
    // Nor does its summary stay.
    EXPECT_EQ(child<QLabel>(explore, "lbMN")->text(), QString());
    EXPECT_EQ(child<QListWidget>(explore, "lbPl")->count(), 0);
    child<QPushButton>(explore, "Button2")->click();
    EXPECT_TRUE(main.session().state().cbPlayers.isEmpty());

    // A new listing keeps the filter.
    listDirectory(explore, dir);
    EXPECT_EQ(shownMaps(explore), (QStringList{"Arena", "Arena"}));
    filter->clear();
    EXPECT_EQ(shownMaps(explore).size(), 4);
}

TEST_F(BrowserExtras, TheLastListedFolderIsListedAgainInTheNextRun) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    QTemporaryDir config;
    {
        TFExplore firstRun;
        firstRun.setFolderMemory(settingsIn(config));
        EXPECT_TRUE(shownMaps(firstRun).isEmpty()); // nothing remembered yet
        listDirectory(firstRun, dir);
    }
    // The next run starts elsewhere; the remembered folder does not become the process's
    // directory (a relative path given at start is read from where the program started)
    // until the user chooses it in the tree.
    const QString start = QDir(config.path()).canonicalPath();
    ASSERT_TRUE(QDir::setCurrent(start));
    TFExplore nextRun;
    nextRun.setFolderMemory(settingsIn(config));
    EXPECT_EQ(child<TCDirectoryOutline>(nextRun, "cdo")->Directory(), dir);
    EXPECT_FALSE(nextRun.listReady()); // listed when the user opens the browser
    nextRun.show();
    EXPECT_TRUE(nextRun.listReady());
    EXPECT_EQ(shownMaps(nextRun), QStringList{"Les"});
    EXPECT_EQ(QDir::currentPath(), start);
    listDirectory(nextRun, dir);
    EXPECT_EQ(QDir::currentPath(), dir);

    // A remembered folder that is gone leaves the browser as on a first run.
    settings->setValue(QStringLiteral("browser/lastFolder"), dir + QStringLiteral("/pryc"));
    TFExplore afterRemoval;
    afterRemoval.setFolderMemory(settings.get());
    afterRemoval.show();
    EXPECT_FALSE(afterRemoval.listReady());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(BrowserExtras, ARecordDeletedAfterListingGivesAMessageAndKeepsTheLoadedWorld) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    const QString doomed = files.write(QStringLiteral("Pryc_2005-03-12.kxr"), kRecord);
    files.write(QStringLiteral(":Dvojtecka_2005-03-12.kxr"), kRecord); // not a resource path
    listDirectory(explore, dir);
    auto* list = child<QTreeWidget>(explore, "lvMaps");
    const auto row = [&](const char* map) {
        return list->findItems(QLatin1String(map), Qt::MatchExactly).value(0);
    };
    list->setCurrentItem(row(":Dvojtecka"));
    child<QPushButton>(explore, "Button2")->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    EXPECT_EQ(main.session().state().dlgOpen.fileName,
              dir + QStringLiteral("/:Dvojtecka_2005-03-12.kxr"));
    explore.show();
    list->setCurrentItem(row("Les"));
    child<QPushButton>(explore, "Button2")->click();
    ASSERT_EQ(main.session().state().cbPlayers, QStringList{"Pepa (les)"});

    ASSERT_TRUE(QFile::remove(doomed));
    explore.show();
    list->setCurrentItem(row("Pryc")); // gone now
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.first().contains(QStringLiteral("Pryc_2005-03-12.kxr")))
        << messages.shown.first().toStdString();
    EXPECT_EQ(child<QLabel>(explore, "lbMN")->text(), QString());

    child<QPushButton>(explore, "Button2")->click();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(main.session().state().cbPlayers, QStringList{"Pepa (les)"});
    EXPECT_EQ(main.session().state().dlgOpen.fileName, dir + QStringLiteral("/Les_2005-03-12.kxr"));
}
