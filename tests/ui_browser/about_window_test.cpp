#include "app/ui/about_window.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using kx::TFAbout;

namespace {

class About : public ::testing::Test {
  protected:
    void SetUp() override {
        about.setUrlOpener([this](const QString& address) { opened.append(address); });
        about.show();
    }
    QLabel* label(const char* name) {
        auto* l = about.findChild<QLabel*>(QLatin1String(name));
        EXPECT_TRUE(l) << name;
        return l;
    }
    // A move of the mouse without a button, over a widget.
    static void moveOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    QList<bool> underlined() {
        return {label("Label5")->font().underline(), label("Label11")->font().underline(),
                label("Label12")->font().underline()};
    }

    TFAbout about;
    QStringList opened;
};

} // namespace

TEST_F(About, FitsItsTextsInTheLayoutsSize) {
    EXPECT_GE(about.width(), 271);
    EXPECT_GE(about.height(), 268);
    for (QLabel* text : about.findChildren<QLabel*>())
        EXPECT_TRUE(about.rect().contains(text->geometry())) << text->objectName().toStdString();
}

TEST_F(About, TheUnderlineFollowsTheMouseFromLinkToLink) {
    EXPECT_EQ(underlined(), (QList<bool>{false, false, false}));
    moveOver(label("Label5"));
    EXPECT_EQ(underlined(), (QList<bool>{true, false, false}));
    moveOver(label("Label11"));
    EXPECT_EQ(underlined(), (QList<bool>{false, true, false}));
    moveOver(label("Label12"));
    EXPECT_EQ(underlined(), (QList<bool>{false, false, true}));
    // A label that is no link leaves the underline where it is; the background takes it away.
    moveOver(label("Label6"));
    EXPECT_EQ(underlined(), (QList<bool>{false, false, true}));
    moveOver(&about);
    EXPECT_EQ(underlined(), (QList<bool>{false, false, false}));
    // Only the underline changes.
    EXPECT_EQ(label("Label12")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
}

TEST_F(About, AddressLinksOpenTheirTextAndTheLastLinkCloses) {
    QTest::mouseClick(label("Label5"), Qt::LeftButton);
    QTest::mouseClick(label("Label11"), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{label("Label5")->text(), label("Label11")->text()}));
    EXPECT_TRUE(about.isVisible());

    QTest::mouseClick(label("Label12"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(opened.size(), 2);
}
