#include "editor_fixture.h"

#include "app/ui/main_window.h"

#include <QAction>

using namespace kx;

namespace {

TEST(EditorMenuTest, MenuItemOpensTheEditorModallyAndClosingOnlyHidesIt) {
    RecordedMessages messages;
    TFMain mainWindow;
    mainWindow.setMessages(&messages);
    mainWindow.show();
    TFCreate editor(&mainWindow);
    mainWindow.setEditorWindow(&editor);
    editor.setMessages(&messages);
    messages.threeWayAnswer =
        QuestionAnswer::No; // the changed name need not be saved EXPECT_FALSE(editor.isVisible());

    auto* item = mainWindow.findChild<QAction*>(QStringLiteral("mmUtilCre"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F4));
    item->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EXPECT_TRUE(editor.isWindow());
    EXPECT_EQ(editor.windowModality(), Qt::ApplicationModal);

    editor.findChild<QLineEdit*>(QStringLiteral("edName"))->setText("Les");
    editor.close();
    EXPECT_FALSE(editor.isVisible());
    item->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EXPECT_EQ(editor.findChild<QLineEdit*>(QStringLiteral("edName"))->text(), "Les");
    editor.close();
}

} // namespace
