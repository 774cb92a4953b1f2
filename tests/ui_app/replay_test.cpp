#include "main_window_fixture.h"

using namespace kx;

namespace {

using ReplayTest = MainWindowTest;

QStringList itemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

TEST_F(ReplayTest, BlankWindowBeforeAnyRecord) {
    EXPECT_FALSE(child<QWidget>("Panel1")->isEnabled());
    EXPECT_FALSE(child<QProgressBar>("pbLoad")->isVisible());
    EXPECT_FALSE(child<QWidget>("mRes")->isVisible());
    EXPECT_FALSE(child<QWidget>("btnNext")->isVisible());
    EXPECT_TRUE(map()->isVisible());
    EXPECT_EQ(child<QGroupBox>("gbPlayers")->title(), QString::fromUtf8(" Hráči "));
    EXPECT_EQ(child<QComboBox>("cbView")->currentText(), QString::fromUtf8("Vše"));
    EXPECT_TRUE(child<QCheckBox>("cbHL")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("cbHH")->isChecked());
    EXPECT_EQ(child<QLineEdit>("edTime")->text(), "200");
    EXPECT_EQ(child<QLineEdit>("edTime")->maxLength(), 4);
    EXPECT_EQ(child<QTimer>("slajd")->interval(), 500);
    EXPECT_FALSE(child<QTimer>("slajd")->isActive());
    EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget()->objectName(), "ts2");
    EXPECT_TRUE(button("Button4")->isDefault());
    const auto blank = icons();
    ASSERT_EQ(blank.size(), 20u);
    for (const auto& row : blank)
        EXPECT_EQ(row, std::vector<int>(20, 0));
}

TEST_F(ReplayTest, SampleLoadsAndStepsAlikeFromBothFormats) {
    for (const char* extension : {"kxr2", "kxr"}) {
        SCOPED_TRACE(extension);
        ASSERT_TRUE(window.openRecord(samplePath(extension)));
        EXPECT_TRUE(messages.shown.isEmpty());
        auto* players = child<QComboBox>("cbPlayers");
        EXPECT_EQ(
            itemsOf(players),
            QStringList({"Pepa (louka)", "Jana (les)", QString::fromUtf8("Šimon (louka)"),
                         QString::fromUtf8("Kuře (les)"), QString::fromUtf8("Žofie (louka)")}));
        EXPECT_EQ(players->currentIndex(), -1);
        EXPECT_EQ(child<QGroupBox>("gbPlayers")->title(),
                  QString::fromUtf8(" Kopretinová louka - hráči "));
        EXPECT_TRUE(child<QWidget>("Panel1")->isEnabled());
        EXPECT_FALSE(child<QProgressBar>("pbLoad")->isVisible());
        EXPECT_EQ(map()->columnCount(), 21);

        click("Button1");
        EXPECT_EQ(
            infoLines(),
            QStringList({QString::fromUtf8("Proveden 1 přepočet."),
                         QString::fromUtf8("Hráč Žofie poslal 30 nektaru hráči Pepa na velení."),
                         "Akce 7 z 307"}));
        EXPECT_EQ(label("lbTime")->text(), "14. 11. - 10:08:22");

        // Choosing a player with the keyboard shows the figures, and steps keep them current.
        players->setFocus();
        QTest::keyClick(players, Qt::Key_Down);
        ASSERT_EQ(players->currentIndex(), 0);
        EXPECT_EQ(label("lbPT")->text(), "19");
        EXPECT_EQ(label("lbPN")->text(), "512");
        EXPECT_EQ(label("lbPP")->text(), "12 ml/hod");
        EXPECT_EQ(label("lbPH")->text(), "R15 / R15");
        EXPECT_EQ(label("lbPA")->text(), "1 m2");
        EXPECT_EQ(label("lbPD")->text(), QString::fromUtf8("0 nepřátel"));
        click("Button2");
        EXPECT_EQ(infoLines(),
                  QStringList({QString::fromUtf8("Hráč Jana poslal 270 nektaru hráči Šimon."),
                               "Akce 17 z 307"}));
        EXPECT_EQ(label("lbTime")->text(), "14. 11. - 13:35:38");
        EXPECT_EQ(label("lbPT")->text(), "20");
        EXPECT_EQ(label("lbPN")->text(), "600");
        EXPECT_EQ(label("lbPP")->text(), "36 ml/hod");
        EXPECT_EQ(label("lbPA")->text(), "3 m2");
    }
}

TEST_F(ReplayTest, BackButtonsReplayToTheTargetAndKeepThePlayer) {
    loadSmall();
    click("Button2"); // six events, then the summary
    EXPECT_EQ(infoLines().last(), "Akce 9 z 10");
    click("Button1");
    EXPECT_TRUE(child<QWidget>("mRes")->isVisible());
    ASSERT_TRUE(window.openRecord(files.path("mapa.kxr")));
    EXPECT_FALSE(child<QWidget>("mRes")->isVisible());

    click("Button1", 4);
    auto* players = child<QComboBox>("cbPlayers");
    QTest::keyClick(players, Qt::Key_Down);
    EXPECT_EQ(label("lbPT")->text(), "13");
    EXPECT_EQ(world().eventIndex, 8);

    click("Button6");
    EXPECT_EQ(world().eventIndex, 7);
    EXPECT_EQ(infoLines(),
              QStringList({QString::fromUtf8("Prodáno 5 jednotek z políčka B1."), "Akce 6 z 10"}));
    EXPECT_EQ(label("lbTime")->text(), "07. 03. - 14:30:00");
    EXPECT_EQ(players->currentIndex(), 0);
    EXPECT_EQ(label("lbPT")->text(), "10");
    EXPECT_EQ(label("lbPN")->text(), "485");
    EXPECT_FALSE(child<QProgressBar>("pbLoad")->isVisible());

    // Ten back from there replays only the first event.
    click("Button7");
    EXPECT_EQ(world().eventIndex, 5);
    EXPECT_EQ(infoLines(),
              QStringList(
                  {QString::fromUtf8("Koupeno 10 jednotek komár na políčko A1."), "Akce 4 z 10"}));
}

TEST_F(ReplayTest, FailedLoadShowsTheMessageAndKeepsTheWorld) {
    loadSmall();
    click("Button1", 2);
    const auto before = icons();
    const QStringList info = infoLines();

    const QString missing = files.path("nic.kxr2");
    EXPECT_FALSE(window.openRecord(missing));
    EXPECT_EQ(messages.shown, QStringList(QString::fromUtf8("Soubor nelze otevřít:\n") + missing));

    messages.shown.clear();
    const QString broken = files.write("rozbity.kxr", {"2005-07-03-14-00-00; Mapa; 2; 4; 3; 4;",
                                                       "2005-07-03-14-00-00; create_world;"});
    EXPECT_FALSE(window.openRecord(broken));
    EXPECT_EQ(messages.shown, QStringList(QString::fromUtf8(
                                  "Záznam je zřejmě poškozen\nChyba: svět nelze vytvořit")));

    messages.shown.clear();
    EXPECT_FALSE(window.openRecord(files.write("spatne.kxr2", {"<world>", "</x>"})));
    EXPECT_EQ(messages.shown, QStringList(QString::fromUtf8("Nepodařilo se přečíst záznam.")));

    EXPECT_EQ(icons(), before);
    EXPECT_EQ(infoLines(), info);
    EXPECT_EQ(child<QComboBox>("cbPlayers")->count(), 2);
    EXPECT_EQ(child<QGroupBox>("gbPlayers")->title(), QString::fromUtf8(" Mapa - hráči "));
    EXPECT_FALSE(child<QProgressBar>("pbLoad")->isVisible());
    click("Button1");
    EXPECT_EQ(infoLines().last(), "Akce 6 z 10");

    // "Pokračovat" reloads the record shown, not the one that failed.
    click("Button1", 4);
    ASSERT_TRUE(child<QWidget>("mRes")->isVisible());
    EXPECT_FALSE(window.openRecord(broken));
    messages.shown.clear();
    click("btnNext");
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    EXPECT_TRUE(map()->isVisible());
    EXPECT_EQ(child<QComboBox>("cbPlayers")->count(), 2);
}

TEST_F(ReplayTest, SummaryReplacesTheMapAndPokracovatReloads) {
    loadSmall();
    click("Button1", 6);
    EXPECT_TRUE(map()->isVisible());
    EXPECT_FALSE(child<QWidget>("mRes")->isVisible());
    click("Button1");
    auto* summary = child<QPlainTextEdit>("mRes");
    ASSERT_TRUE(summary->isVisible());
    EXPECT_FALSE(map()->isVisible());
    EXPECT_TRUE(button("btnNext")->isVisible());
    EXPECT_EQ(button("btnNext")->text(), QString::fromUtf8("Pokračovat"));
    const QStringList lines = summary->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QString::fromUtf8("Svět skončil. Vyhrál typ les."));
    EXPECT_EQ(lines[2], QString::fromUtf8("Vítězové: "));
    EXPECT_TRUE(lines[3].startsWith(QString::fromUtf8("Pepa (louka) 6277 expů (52")));
    EXPECT_TRUE(lines[4].startsWith(QString::fromUtf8("Jana (les) 6591 expů (54")));
    EXPECT_EQ(lines[6], QString::fromUtf8("Svět nedohráli: "));
    EXPECT_EQ(lines[7], "");

    // Further steps do nothing; a step back returns to the map at its target.
    click("Button2");
    EXPECT_TRUE(summary->isVisible());
    click("Button6");
    EXPECT_FALSE(summary->isVisible());
    EXPECT_TRUE(map()->isVisible());
    EXPECT_EQ(infoLines().last(), "Akce 8 z 10");

    click("Button1", 2);
    ASSERT_TRUE(summary->isVisible());
    click("btnNext");
    EXPECT_FALSE(summary->isVisible());
    EXPECT_FALSE(button("btnNext")->isVisible());
    EXPECT_TRUE(map()->isVisible());
    EXPECT_EQ(world().eventIndex, 4);
    EXPECT_EQ(icons()[1], std::vector<int>({5, 4, 2, 8}));
    click("Button1");
    EXPECT_EQ(infoLines().last(), "Akce 4 z 10");
}
