#include "main_window_fixture.h"

#include "app/ui/recent_files_menu.h"
#include "app/ui/record_drop.h"
#include "app/ui/window_extras.h"
#include "app/ui/window_layout.h"
#include "mapview/ui/map_export.h"
#include "mapview/ui/map_image.h"

#include <QDockWidget>
#include <QDropEvent>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

using namespace kx;

namespace {

// Sends a drag of `data` over the window and drops it; returns whether the drag was accepted.
bool dragAndDrop(QWidget& target, QMimeData& data) {
    const QPoint at = target.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

} // namespace

using WindowExtrasTest = MainWindowTest;

TEST_F(WindowExtrasTest, ADroppedLocalFileIsOpenedAfterTheDropAndOtherDataIsRefused) {
    QStringList opened;
    QWidget target;
    new RecordDrop(&target, [&](const QString& path) { opened.append(path); });
    EXPECT_TRUE(target.acceptDrops());

    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.kxr"));
    EXPECT_FALSE(dragAndDrop(target, text));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/a.kxr2"))});
    EXPECT_FALSE(dragAndDrop(target, remote));

    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.org/a.kxr2")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/b c.kxr2")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/d.kxr"))});
    EXPECT_TRUE(dragAndDrop(target, files));
    EXPECT_TRUE(opened.isEmpty()); // not inside the drop
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, QStringList{"/tmp/b c.kxr2"});
}

TEST_F(WindowExtrasTest, TheRecentMenuListsNumberedItemsThatOpenAndForgetsMissingFiles) {
    const QString kept = files.write(QStringLiteral("Mapa_2005-07-03.kxr"), kSmallRecord);
    const QString gone = files.path(QStringLiteral("Pryc & dal_2005-07-03.kxr"));
    RecentFiles recent;
    QMenu menu;
    QStringList opened;
    RecentFilesMenu binding(&menu, recent, [&](const QString& path) { opened.append(path); });
    EXPECT_FALSE(menu.isEnabled());

    recent.add(kept);
    recent.add(gone);
    binding.rebuild();
    EXPECT_TRUE(menu.isEnabled());
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 4); // two records, a separator, "Vymazat seznam"
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1 Pryc && dal_2005-07-03.kxr"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&2 Mapa_2005-07-03.kxr"));

    items[0]->trigger();
    EXPECT_EQ(opened, QStringList{gone}); // the loader still says why it cannot open it
    EXPECT_EQ(recent.paths(), QStringList{QDir::cleanPath(kept)});
    menu.findChild<QAction*>(QStringLiteral("mmFileRecentClear"))->trigger();
    EXPECT_TRUE(recent.paths().isEmpty());
    EXPECT_FALSE(menu.isEnabled());
}

TEST_F(WindowExtrasTest, TheWindowLayoutComesBackInTheNextRun) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("kx.ini")), QSettings::IniFormat);
    window.resize(1111, 777);
    QCoreApplication::processEvents();
    saveWindowLayout(window, settings);

    TFMain nextRun;
    restoreWindowLayout(nextRun, settings);
    EXPECT_EQ(nextRun.size(), QSize(1111, 777));

    // A damaged stored layout leaves the window as built.
    settings.setValue(QStringLiteral("window/geometry"), QByteArray("x"));
    settings.setValue(QStringLiteral("window/state"), QByteArray("y"));
    TFMain damaged;
    const QSize built = damaged.size();
    restoreWindowLayout(damaged, settings);
    EXPECT_EQ(damaged.size(), built);
}

TEST_F(WindowExtrasTest, TheMapPictureIsTheWholeMapInTheCurrentView) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mapa.png"));
    EXPECT_FALSE(saveMapPicture(window.session(), path, window).isEmpty()); // no record yet
    EXPECT_FALSE(QFileInfo::exists(path));

    loadSmall();
    click("Button2"); // ten events on
    ASSERT_EQ(saveMapPicture(window.session(), path, window), QString());
    const QImage picture(path);
    ASSERT_FALSE(picture.isNull());
    // Headers and 4 x 3 cells of 20 pixels, whatever the window scrolls to.
    EXPECT_EQ(picture.size(), QSize(5 * 20, 4 * 20));
    const QImage again = renderMapImage(window.session(), window.palette(), window.font());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), again);

    // Another view is another picture.
    auto* view = child<QComboBox>("cbView");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down); // "Louka"
    ASSERT_EQ(window.session().viewItem(), kx::MapView::Louka);
    EXPECT_NE(renderMapImage(window.session(), window.palette(), window.font()), again);

    // A place that cannot be written gives the reason and no file.
    const QString nowhere = dir.filePath(QStringLiteral("chybi/mapa.png"));
    EXPECT_TRUE(
        saveMapPicture(window.session(), nowhere, window).contains(QStringLiteral("chybi")));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_F(WindowExtrasTest, TheFileMenuKeepsTheRecordsOpenedInAnyWay) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("kx.ini")), QSettings::IniFormat);
    auto* extras = new kx::WindowExtras(window, settings);
    auto* file = child<QMenu>("mmFile");
    const QList<QAction*> items = file->actions();
    ASSERT_GE(items.size(), 5);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mmFileOpen"));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("mmFileRecent"));
    EXPECT_EQ(items[2]->objectName(), QStringLiteral("mmFileExportMap"));
    EXPECT_EQ(items.last()->objectName(), QStringLiteral("mmFileEnd"));

    loadSmall();
    const QString dropped = files.write(QStringLiteral("jiny.kxr"), kSmallRecord);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    EXPECT_TRUE(dragAndDrop(window, data));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.session().state().dlgOpen.fileName, dropped);
    // A failed load is not a record opened.
    EXPECT_FALSE(window.openRecord(files.path(QStringLiteral("chybi.kxr"))));
    EXPECT_EQ(extras->recentFiles().paths(),
              (QStringList{QDir::cleanPath(dropped),
                           QDir::cleanPath(files.path(QStringLiteral("mapa.kxr")))}));

    // The menu's first item opens the newest record again.
    window.openRecord(files.path(QStringLiteral("mapa.kxr")));
    auto* recent = child<QMenu>("mmFileRecent");
    EXPECT_TRUE(recent->isEnabled());
    recent->actions().first()->trigger();
    EXPECT_EQ(window.session().state().dlgOpen.fileName, files.path(QStringLiteral("mapa.kxr")));
    EXPECT_EQ(RecentFiles(&settings).paths().size(), 2); // kept for the next run
}
