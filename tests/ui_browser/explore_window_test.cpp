#include "browser_fixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace kx;

namespace {

const QStringList kRecord = {QString::fromUtf8("2005-12-03-14-05-09; Les u potoka; 2; 5; 3; 4;"),
                             QStringLiteral("2005-12-03-14-05-09; create_world; NNBSNNXNNNSSSNn;"),
                             QStringLiteral("2005-12-03-14-06-00; create_hq; Pepa; les; C0;"),
                             QString::fromUtf8("2005-13-03-09-30-01; create_hq; Jána; louka; B2;"),
                             QString::fromUtf8("2005-13-03-10-00-00; buy; C0; komár; 10;")};

const QByteArray kXml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<record>\n"
                        "<world><i>1</i><n>Arena</n><c>1110200709</c><w>3</w><h>2</h>"
                        "<p>1</p><s>4</s><m>NNBSNN</m></world>\n<events>\n"
                        "<chq><t>1110200710</t><n>Pepa</n><c>A0</c><team>les</team></chq>\n"
                        "</events>\n</record>\n";

class Browser : public BrowserFixture {
  protected:
    void SetUp() override {
        BrowserFixture::SetUp();
        main.setBrowserWindow(&explore);
    }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QStringList players() {
        QStringList out;
        for (int i = 0; i < child<QListWidget>("lbPl")->count(); ++i)
            out.append(child<QListWidget>("lbPl")->item(i)->text());
        return out;
    }
    QStringList column(int index) {
        QStringList out;
        auto* list = child<QTreeWidget>("lvMaps");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.append(list->topLevelItem(i)->text(index));
        return out;
    }
    void select(int row) {
        auto* list = child<QTreeWidget>("lvMaps");
        list->setCurrentItem(list->topLevelItem(row));
    }
};

} // namespace

TEST_F(Browser, ListsTheDoubleClickedDirectoryAndSummarizesTheSelectedRow) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    files.writeBytes(QStringLiteral("Arena_2005-03-12.KXR2"), kXml);
    files.writeBytes(QStringLiteral("notes.txt"), "x");

    // Before the first listing nothing is read.
    EXPECT_FALSE(explore.listReady());
    explore.ShowRecordSummary(dir + QStringLiteral("/Les_2005-03-12.kxr"));
    EXPECT_EQ(label("lbMN"), QString());

    listDirectory(dir);
    EXPECT_TRUE(explore.listReady());
    EXPECT_EQ(column(0), (QStringList{"Arena", "Les"}));
    EXPECT_EQ(column(1), (QStringList{"12. 03. 2005", "12. 03. 2005"}));
    EXPECT_EQ(column(3), (QStringList{"kxr2", "kxr"}));

    select(1);
    EXPECT_EQ(label("lbMN"), QStringLiteral("Les u potoka"));
    EXPECT_EQ(label("lbMR"), QStringLiteral("5 x 3"));
    EXPECT_EQ(label("lbTS"), QStringLiteral("12. 03. - 14:06:00"));
    EXPECT_EQ(players(), (QStringList{"Pepa (les)", QString::fromUtf8("Jána (louka)")}));

    // The XML record with its extension in capitals is converted by its own converter: the
    // main window's converter and record stay as they were.
    select(0);
    EXPECT_EQ(label("lbMN"), QStringLiteral("Arena"));
    EXPECT_EQ(players(), QStringList{"Pepa (les)"});
    EXPECT_TRUE(main.session().state().converter.log().isEmpty());
    EXPECT_TRUE(main.session().state().lvData.isEmpty());
    EXPECT_FALSE(main.session().state().progressVisible);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Browser, ADamagedRecordShowsTheMessageAndClearsTheSummary) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    files.write(QStringLiteral("Zly_2005-03-12.kxr"),
                {QStringLiteral("a; b;"), QStringLiteral("c;")});
    listDirectory(dir);
    select(0);
    ASSERT_EQ(players().size(), 2);
    select(1);
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8("Záznam je zřejmě poškozen.")});
    EXPECT_EQ(label("lbMN"), QString());
    EXPECT_TRUE(players().isEmpty());
}

TEST_F(Browser, RowsKeepTheDirectoryTheyWereListedFrom) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("jinde")));
    listDirectory(dir);
    // A click elsewhere in the tree changes the directory, not the list.
    child<TCDirectoryOutline>("cdo")->SetDirectory(dir + QStringLiteral("/jinde"));
    select(0);
    EXPECT_EQ(label("lbMN"), QStringLiteral("Les u potoka"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Browser, OpenHandsTheRecordToTheMainWindowByItsType) {
    files.writeBytes(QStringLiteral("Arena_2005-03-12.KXR2"), kXml);
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    main.show();
    explore.show();
    // Nothing selected: nothing happens.
    child<QPushButton>("Button2")->click();
    EXPECT_TRUE(explore.isVisible());

    listDirectory(dir);
    select(0);
    child<QPushButton>("Button2")->click();
    EXPECT_FALSE(explore.isVisible());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    const MainState& state = main.session().state();
    EXPECT_EQ(state.dlgOpen.fileName, dir + QStringLiteral("/Arena_2005-03-12.KXR2"));
    EXPECT_EQ(state.cbPlayers, QStringList{"Pepa (les)"});
    EXPECT_EQ(state.recordFormat, RecordFormat::Xml);

    explore.show();
    select(1);
    child<QPushButton>("Button2")->click();
    EXPECT_EQ(state.cbPlayers, (QStringList{"Pepa (les)", QString::fromUtf8("Jána (louka)")}));
    EXPECT_EQ(state.recordFormat, RecordFormat::EventLog);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Browser, ClosingOnlyHidesAndKeepsTheState) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    explore.show();
    listDirectory(dir);
    select(0);
    QTest::keyClick(&explore, Qt::Key_Escape);
    EXPECT_FALSE(explore.isVisible());
    explore.show();
    EXPECT_EQ(column(0), QStringList{"Les"});
    EXPECT_EQ(label("lbMN"), QStringLiteral("Les u potoka"));
    child<QPushButton>("Button1")->click();
    EXPECT_FALSE(explore.isVisible());
    EXPECT_EQ(child<TCDirectoryOutline>("cdo")->Directory(), dir);
}

TEST_F(Browser, EnterInTheTreeListsItsFolderAndElsewhereOpensTheRecord) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("jinde")));
    files.write(QStringLiteral("jinde/Arena_2005-03-12.kxr"), kRecord);
    main.show();
    explore.show();
    listDirectory(dir);
    select(0);
    auto* cdo = child<TCDirectoryOutline>("cdo");
    cdo->SetDirectory(dir + QStringLiteral("/jinde"));
    QTest::keyClick(cdo, Qt::Key_Return);
    EXPECT_TRUE(explore.isVisible());
    EXPECT_EQ(explore.listedDirectory(), dir + QStringLiteral("/jinde"));
    EXPECT_EQ(column(0), QStringList{"Arena"});
    EXPECT_TRUE(main.session().state().cbPlayers.isEmpty());

    // Another window may ask for a folder (the library's "Ukázat ve složce").
    EXPECT_TRUE(explore.showFolder(dir));
    EXPECT_EQ(explore.listedDirectory(), dir);
    EXPECT_FALSE(explore.showFolder(dir + QStringLiteral("/chybi")));
    EXPECT_EQ(explore.listedDirectory(), dir);
    ASSERT_TRUE(explore.showFolder(dir + QStringLiteral("/jinde")));

    // In the list Enter presses "&Otevřít".
    select(0);
    QTest::keyClick(child<QTreeWidget>("lvMaps"), Qt::Key_Return);
    EXPECT_FALSE(explore.isVisible());
    EXPECT_EQ(main.session().state().dlgOpen.fileName,
              dir + QStringLiteral("/jinde/Arena_2005-03-12.kxr"));
}

TEST_F(Browser, RefreshReadsTheFoldersAndRecordsAgainKeepingTheSelection) {
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    explore.show();
    listDirectory(dir);
    select(0);
    auto* cdo = child<TCDirectoryOutline>("cdo");
    cdo->Expand(cdo->currentItem());
    ASSERT_EQ(cdo->currentItem()->childCount(), 0);

    files.write(QStringLiteral("Arena_2005-03-12.kxr"), kRecord);
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("nova")));
    QTest::keyClick(child<QTreeWidget>("lvMaps"), Qt::Key_F5);
    EXPECT_EQ(column(0), (QStringList{"Arena", "Les"}));
    ASSERT_EQ(child<QTreeWidget>("lvMaps")->selectedItems().size(), 1);
    EXPECT_EQ(child<QTreeWidget>("lvMaps")->selectedItems()[0]->text(0), QStringLiteral("Les"));
    ASSERT_EQ(cdo->currentItem()->childCount(), 1);
    EXPECT_EQ(cdo->currentItem()->child(0)->text(0), QStringLiteral("nova"));
    EXPECT_EQ(cdo->Directory(), dir);

    // The button does the same; a record gone takes its summary with it.
    auto* refresh = child<QPushButton>("btnRefresh");
    EXPECT_EQ(refresh->text(), QStringLiteral("Obnovit"));
    ASSERT_TRUE(QFile::remove(files.path(QStringLiteral("Les_2005-03-12.kxr"))));
    refresh->click();
    EXPECT_EQ(column(0), QStringList{"Arena"});
    EXPECT_EQ(label("lbMN"), QString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Browser, ALongWorldNameIsShortenedAndMovesNoPane) {
    const QString name = QString::fromUtf8("Velká bitva o Kopretinovou louku u potoka 12");
    ASSERT_EQ(name.size(), 44);
    QStringList record = kRecord;
    record[0] = QStringLiteral("2005-12-03-14-05-09; %1; 2; 5; 3; 4;").arg(name);
    files.write(QStringLiteral("Dlouha_2005-03-12.kxr"), record);
    files.write(QStringLiteral("Les_2005-03-12.kxr"), kRecord);
    explore.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&explore));
    listDirectory(dir);
    select(1);
    QApplication::processEvents();
    const QSize window = explore.size();
    const int tree = child<TCDirectoryOutline>("cdo")->width();
    const int list = child<QTreeWidget>("lvMaps")->width();

    select(0);
    QApplication::processEvents();
    EXPECT_EQ(explore.size(), window);
    EXPECT_EQ(child<TCDirectoryOutline>("cdo")->width(), tree);
    EXPECT_EQ(child<QTreeWidget>("lvMaps")->width(), list);
    auto* shown = child<QLabel>("lbMN");
    EXPECT_EQ(shown->text(), name);
    EXPECT_EQ(shown->toolTip(), name);
    EXPECT_LE(shown->geometry().right(), child<QGroupBox>("gbInfo")->contentsRect().right());
}
