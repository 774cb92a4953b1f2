#include "generated_session.h"

#include "clips/ui/clip_dialog.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

using namespace kx;

namespace {

using Loaded = GeneratedSession;

void load(Loaded& loaded, int events) {
    ASSERT_TRUE(loaded.load(3, events, 4));
}

template <typename T> T* child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

} // namespace

// The dialog starts from what the window shows, its ends hold each other back, and a bookmark
// or marker sets an end.
TEST(ClipDialogTest, StartsFromTheWindowAndKeepsItsRangeInOrder) {
    Loaded loaded;
    load(loaded, 200);
    ReplaySession& session = loaded.session;
    session.jumpTo(120);
    session.cbViewChange(2);
    for (int x = 1; x <= 20 && session.highlightOwner() == 0; ++x)
        for (int y = 1; y <= 20 && session.highlightOwner() == 0; ++y)
            session.dgMapMouseMove(x, y);
    ASSERT_NE(session.highlightOwner(), 0);

    ClipDialog dialog(session, {{150, QStringLiteral("obrat")}, {40, QStringLiteral("den")}});
    ClipSettings settings = dialog.settings();
    EXPECT_EQ(settings.from, 120);
    EXPECT_EQ(settings.to, session.eventCount() - 1);
    EXPECT_EQ(settings.view, MapView::Les);
    EXPECT_EQ(settings.highlightOwner, session.highlightOwner());
    EXPECT_EQ(settings.zoom, 100);
    EXPECT_TRUE(settings.caption);

    auto* to = child<QSpinBox>(dialog, "spClipTo");
    to->setValue(100);
    EXPECT_EQ(dialog.settings().from, 100);
    auto* fromEnds = child<QToolButton>(dialog, "spClipFromEnds");
    ASSERT_NE(fromEnds, nullptr);
    fromEnds->menu()->actions().at(1)->trigger(); // the marker at event 40
    EXPECT_EQ(dialog.settings().from, 40);
    child<QSpinBox>(dialog, "spClipFrom")->setValue(session.eventCount() + 5);
    EXPECT_EQ(dialog.settings().from, session.eventCount() - 1);
    EXPECT_EQ(dialog.settings().to, session.eventCount() - 1);
}

// The viewer writes the clip on a worker behind a progress dialog; "Zrušit" leaves no file.
TEST(ClipDialogTest, TheViewerWritesAClipAndItsProgressCancels) {
    Loaded loaded;
    load(loaded, 2000);
    QWidget window;
    window.show();
    ClipSettings settings;
    settings.from = loaded.session.firstEventIndex();
    settings.to = settings.from + 29;
    const QString gif = loaded.files.path(QStringLiteral("a.gif"));
    EXPECT_TRUE(writeClip(window, loaded.session, settings, gif, loaded.messages));
    EXPECT_TRUE(QFileInfo(gif).size() > 0);

    settings.to = loaded.session.eventCount() - 1;
    settings.zoom = 200;
    QTimer cancel;
    bool cancelled = false;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("dlgClipProgress"));
            progress && progress->isVisible() && progress->value() > 0) {
            progress->cancel();
            cancelled = true;
        }
    });
    cancel.start(20);
    const QString webm = loaded.files.path(QStringLiteral("b.webm"));
    EXPECT_FALSE(writeClip(window, loaded.session, settings, webm, loaded.messages));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(QFileInfo::exists(webm));
    EXPECT_TRUE(loaded.messages.shown.isEmpty()); // a cancel is not an error

    EXPECT_FALSE(
        writeClip(window, loaded.session, settings, loaded.files.path("c.avi"), loaded.messages));
    ASSERT_EQ(loaded.messages.shown.size(), 1);
    EXPECT_TRUE(loaded.messages.shown.first().contains(QStringLiteral(".webp")));
    EXPECT_EQ(QDir(QFileInfo(gif).path()).entryList(QDir::Files).size(), 2); // record, a.gif
}
