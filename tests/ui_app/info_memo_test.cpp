#include "main_window_fixture.h"

#include <QScrollBar>

using namespace kx;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

struct BarState {
    int maximum;
    int pageStep;
    int position;
    bool operator==(const BarState&) const = default;
};

BarState stateOf(const QScrollBar* bar) {
    return {bar->maximum(), bar->pageStep(), bar->sliderPosition()};
}

} // namespace

TEST_F(MainWindowTest, InfoMemoScrollBarRepaintsOnlyWhenWhatItShowsChanges) {
    // The memo's text is replaced at every live step; its bar is painted again only when its
    // range or position changed. A low memo makes some steps' sentences overflow it.
    auto* memo = child<QPlainTextEdit>("mInfo");
    memo->setFixedHeight(48);
    ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    QScrollBar* bar = memo->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    QTest::qWait(20);
    PaintCounter paints(bar);
    int quietSteps = 0;
    int changedSteps = 0;
    for (int step = 0; step < 60; ++step) {
        const BarState before = stateOf(bar);
        const int paintsBefore = paints.count;
        click("Button1");
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (stateOf(bar) == before) {
            EXPECT_EQ(paints.count, paintsBefore) << "step " << step;
            ++quietSteps;
        } else {
            EXPECT_GT(paints.count, paintsBefore) << "step " << step;
            ++changedSteps;
        }
    }
    EXPECT_GT(quietSteps, 0);
    EXPECT_GT(changedSteps, 0);
}
