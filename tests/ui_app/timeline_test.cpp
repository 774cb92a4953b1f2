#include "main_window_fixture.h"

#include "records/time_stamp.h"

#include <QSlider>
#include <QStyleOptionSlider>

using namespace kx;

namespace {

struct TimelineTest : MainWindowTest {
    QSlider* slider() { return child<QSlider>("timeline"); }
    int32_t shown() { return window.session().shownEventIndex(); }
    QString timeOf(int32_t event) {
        return eventTimeLabel(window.session().state().lvData.item(event).subItem(0));
    }
    // Where the handle of the slider stands, and where it would stand at `value`.
    QPoint handleAt(int value) {
        QStyleOptionSlider option;
        option.initFrom(slider());
        option.orientation = Qt::Horizontal;
        option.minimum = slider()->minimum();
        option.maximum = slider()->maximum();
        option.sliderPosition = value;
        option.sliderValue = value;
        return slider()
            ->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider())
            .center();
    }
};

} // namespace

TEST_F(TimelineTest, FollowsTheRecordAndEveryStep) {
    EXPECT_FALSE(slider()->isEnabled()) << "no record";
    ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    const int32_t first = window.session().firstEventIndex();
    const int32_t last = window.session().eventCount() - 1;
    EXPECT_TRUE(slider()->isEnabled());
    EXPECT_EQ(slider()->minimum(), first);
    EXPECT_EQ(slider()->maximum(), last);
    EXPECT_EQ(slider()->value(), first);

    click("Button2");
    EXPECT_EQ(slider()->value(), first + 9);
    EXPECT_EQ(label("lbTimeline")->text(), timeOf(first + 9));
    click("Button6");
    EXPECT_EQ(slider()->value(), first + 8);
    EXPECT_EQ(shown(), first + 8) << "moving the slider to follow did not jump";
}

// Dragging shows the time of the event under the handle and jumps only on release.
TEST_F(TimelineTest, DragShowsTheTimeAndReleaseJumps) {
    ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    const int32_t first = window.session().firstEventIndex();
    const int32_t last = window.session().eventCount() - 1;
    click("Button1");

    const int32_t target = first + (last - first) * 2 / 3;
    QTest::mousePress(slider(), Qt::LeftButton, Qt::NoModifier, handleAt(first));
    ASSERT_TRUE(slider()->isSliderDown());
    QTest::mouseMove(slider(), handleAt(first + (last - first) / 3));
    QTest::mouseMove(slider(), handleAt(target));
    const int32_t under = slider()->sliderPosition();
    EXPECT_NEAR(under, target, 3);
    EXPECT_EQ(label("lbTimeline")->text(), timeOf(under));
    EXPECT_EQ(shown(), first) << "no jump while dragging";

    QTest::mouseRelease(slider(), Qt::LeftButton, Qt::NoModifier, handleAt(target));
    EXPECT_EQ(shown(), under);
    EXPECT_EQ(label("lbTime")->text(), timeOf(under));
    EXPECT_EQ(infoLines().last(),
              QStringLiteral("Akce %1 z %2").arg(under).arg(window.session().eventCount()));

    // A click on the groove right of the handle moves it a page and jumps there too.
    QTest::mouseClick(slider(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(slider()->width() - 3, slider()->height() / 2));
    EXPECT_GT(shown(), under);
    EXPECT_EQ(slider()->value(), shown());
}
