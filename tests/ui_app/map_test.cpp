#include "main_window_fixture.h"

using namespace kx;

namespace {

using MapTest = MainWindowTest;
using Icons = std::vector<std::vector<int>>;

void chooseView(QComboBox* view, int item) {
    view->setFocus();
    while (view->currentIndex() < item)
        QTest::keyClick(view, Qt::Key_Down);
    while (view->currentIndex() > item)
        QTest::keyClick(view, Qt::Key_Up);
}

} // namespace

TEST_F(MapTest, CellsFollowTheEvents) {
    loadSmall();
    EXPECT_EQ(map()->columnCount(), 5);
    EXPECT_EQ(map()->rowCount(), 4);
    // HQs are drawn as fields of their team while "Skrýt velení" is checked.
    EXPECT_EQ(icons(), Icons({{2, 2, 3, 2}, {5, 4, 2, 8}, {2, 2, 2, 0}}));

    click("Button1", 2); // A1 buys, then takes the rock B1 with its units
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 2, 8}));
    click("Button1"); // withdraws them: a louka field on rock
    EXPECT_EQ(icons()[1], std::vector<int>({5, 7, 2, 8}));
    click("Button1"); // buys there again: units are back
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 2, 8}));
    click("Button1", 2); // Jana takes C1 with units
    EXPECT_EQ(icons(), Icons({{2, 2, 3, 2}, {5, 13, 14, 8}, {2, 2, 2, 0}}));

    child<QCheckBox>("cbHH")->click();
    EXPECT_EQ(icons()[1], std::vector<int>({17, 13, 14, 17}));
    child<QCheckBox>("cbHH")->click();
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 14, 8}));
}

TEST_F(MapTest, ViewsShowWhatEachSideSees) {
    loadSmall();
    click("Button2");
    auto* view = child<QComboBox>("cbView");
    EXPECT_EQ(view->count(), 4);

    chooseView(view, 1); // "Louka": Jana's units hidden, her far column unseen
    EXPECT_EQ(window.session().viewItem(), kx::MapView::Louka);
    EXPECT_EQ(icons(), Icons({{2, 2, 3, 1}, {5, 13, 8, 1}, {2, 2, 2, 0}}));
    chooseView(view, 2); // "Les"
    EXPECT_EQ(icons(), Icons({{1, 2, 3, 2}, {1, 7, 14, 8}, {1, 2, 2, 0}}));
    chooseView(view, 3); // "Náhled": only the front line, units of neither side
    EXPECT_EQ(icons(), Icons({{1, 1, 1, 1}, {1, 7, 8, 1}, {1, 1, 1, 0}}));
    chooseView(view, 0);
    EXPECT_EQ(icons(), Icons({{2, 2, 3, 2}, {5, 13, 14, 8}, {2, 2, 2, 0}}));
}

TEST_F(MapTest, PointingAtAFieldDescribesItAndHighlightsItsOwner) {
    loadSmall();
    click("Button1", 4);
    pointAt(2, 2); // B1, Pepa's rock field with three gnats
    EXPECT_EQ(label("lbFN")->text(), "B1");
    EXPECT_EQ(label("lbFT")->text(), QString::fromUtf8("skála"));
    EXPECT_EQ(label("lbFO")->text(), "Pepa (louka)");
    EXPECT_EQ(label("lbFU")->text(), QString::fromUtf8("Komár"));
    EXPECT_EQ(label("lbFC")->text(), "3");
    EXPECT_EQ(window.session().highlightOwner(), 1);
    // His HQ and field in red frames; the highlight shows the HQ whatever "Skrýt velení" says.
    EXPECT_EQ(icons()[1], std::vector<int>({17, 25, 2, 8}));

    // The inspector follows the events at the cell it describes.
    pointAt(3, 2); // C1, free: the highlight goes
    EXPECT_EQ(label("lbFO")->text(), "");
    EXPECT_EQ(label("lbFU")->text(), "");
    EXPECT_EQ(label("lbFC")->text(), "0");
    EXPECT_EQ(label("lbFT")->text(), QString::fromUtf8("normální"));
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 2, 8}));
    click("Button1", 2);
    EXPECT_EQ(label("lbFO")->text(), "Jana (les)");
    EXPECT_EQ(label("lbFU")->text(), "Hovado");
    EXPECT_EQ(label("lbFC")->text(), "2");

    // Jana's fields are highlighted in the louka view, where her units are otherwise hidden.
    chooseView(child<QComboBox>("cbView"), 1);
    pointAt(3, 1);
    pointAt(3, 2);
    EXPECT_EQ(window.session().highlightOwner(), 2);
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 23, 1}));

    // Headers change nothing; an impassable cell clears the type and the highlight.
    pointAt(2, 0);
    pointAt(0, 2);
    EXPECT_EQ(label("lbFN")->text(), "C1");
    EXPECT_EQ(window.session().highlightOwner(), 2);
    pointAt(4, 3);
    EXPECT_EQ(label("lbFN")->text(), "D2");
    EXPECT_EQ(label("lbFT")->text(), "");
    EXPECT_EQ(label("lbFO")->text(), "");
    EXPECT_EQ(window.session().highlightOwner(), 0);
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 8, 1}));

    // Without "Highlight políček" the panel follows the mouse but nothing is highlighted.
    child<QCheckBox>("cbHL")->click();
    pointAt(2, 2);
    EXPECT_EQ(label("lbFN")->text(), "B1");
    EXPECT_EQ(window.session().highlightOwner(), 0);
    EXPECT_EQ(icons()[1], std::vector<int>({5, 13, 8, 1}));
}
