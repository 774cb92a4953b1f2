#include "browser/ui/directory_outline.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using kx::TCDirectoryOutline;

namespace {

// A tree of directories in a temporary folder, made the current directory while a test runs.
class Outline : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = QDir::currentPath();
        root = QDir(temp.path()).canonicalPath();
        QDir dir(root);
        for (const char* path : {"beta", "Alpha/x", "Alpha/Deep/er", "gamma", ".hidden/inner"})
            ASSERT_TRUE(dir.mkpath(QLatin1String(path)));
        QFile file(dir.filePath(QStringLiteral("delta.kxr")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir::setCurrent(root));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    static QStringList texts(const QTreeWidgetItem* item) {
        QStringList out;
        for (int i = 0; i < item->childCount(); ++i)
            out.append(item->child(i)->text(0));
        return out;
    }
    QString path(const char* relative) const { return root + QLatin1Char('/') + relative; }

    QTemporaryDir temp;
    QString root;
    QString previous;
};

} // namespace

TEST_F(Outline, StartsAtTheCurrentDirectoryWithItsLevelsListed) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    EXPECT_EQ(cdo.Drive(), QStringLiteral("/"));
    EXPECT_EQ(cdo.Directory(), root);
    ASSERT_EQ(cdo.topLevelItemCount(), 1);
    EXPECT_EQ(cdo.RootIndex()->text(0), QStringLiteral("/"));
    ASSERT_TRUE(cdo.currentItem());
    EXPECT_EQ(cdo.FullPath(cdo.currentItem()), root);
    // The path down to it is open; the current directory's own level waits for its expansion.
    EXPECT_TRUE(cdo.RootIndex()->isExpanded());
    EXPECT_FALSE(TCDirectoryOutline::IsListed(cdo.currentItem()));
    EXPECT_EQ(cdo.currentItem()->childCount(), 0);
}

TEST_F(Outline, ListsSubdirectoriesOnFirstExpansionInLocaleOrder) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    QTreeWidgetItem* here = cdo.currentItem();
    here->setExpanded(true); // as the user opens it
    EXPECT_TRUE(TCDirectoryOutline::IsListed(here));
    // No files, no names beginning with a dot.
    EXPECT_EQ(texts(here), (QStringList{"Alpha", "beta", "gamma"}));
    // Listed once: closing and opening again lists nothing twice.
    here->setExpanded(false);
    here->setExpanded(true);
    EXPECT_EQ(here->childCount(), 3);

    QTreeWidgetItem* alpha = cdo.GetChildNamed(QStringLiteral("alpha"), here);
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->text(0), QStringLiteral("Alpha"));
    EXPECT_FALSE(TCDirectoryOutline::IsListed(alpha));
    cdo.Expand(alpha);
    EXPECT_TRUE(alpha->isExpanded());
    EXPECT_EQ(texts(alpha), (QStringList{"Deep", "x"}));
    EXPECT_EQ(cdo.GetChildNamed(QStringLiteral(".hidden"), here), nullptr);
}

TEST_F(Outline, ASelectionBecomesTheDirectoryAndTheProcesssCurrentDirectory) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    QSignalSpy changes(&cdo, &TCDirectoryOutline::OnChange);
    QTreeWidgetItem* gamma = cdo.GetChildNamed(QStringLiteral("gamma"), cdo.currentItem());
    ASSERT_TRUE(gamma);
    cdo.setCurrentItem(gamma); // as a click or an arrow key selects it
    EXPECT_EQ(cdo.Directory(), path("gamma"));
    EXPECT_EQ(QDir::currentPath(), path("gamma"));
    EXPECT_EQ(changes.count(), 1);

    // The value already held changes nothing.
    cdo.SetDirectory(path("gamma") + QLatin1Char('/'));
    EXPECT_EQ(changes.count(), 1);

    // A relative path is taken against the current directory; the walk selects its item.
    cdo.SetDirectory(QStringLiteral("../Alpha/x"));
    EXPECT_EQ(cdo.Directory(), path("Alpha/x"));
    EXPECT_EQ(QDir::currentPath(), path("Alpha/x"));
    EXPECT_EQ(cdo.FullPath(cdo.currentItem()), path("Alpha/x"));
    EXPECT_EQ(changes.count(), 2);

    // The root itself.
    cdo.setCurrentItem(cdo.RootIndex());
    EXPECT_EQ(cdo.Directory(), QStringLiteral("/"));
}

TEST_F(Outline, AHiddenDirectoryIsHeldButTheWalkStopsAtItsParent) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    cdo.SetDirectory(path(".hidden/inner"));
    EXPECT_EQ(cdo.Directory(), path(".hidden/inner"));
    EXPECT_EQ(QDir::currentPath(), path(".hidden/inner"));
    EXPECT_EQ(cdo.FullPath(cdo.currentItem()), root);
    // The programmatic selection of the parent did not move Directory back.
    EXPECT_EQ(cdo.Directory(), path(".hidden/inner"));
}

TEST_F(Outline, ADoubleClickListsTheItemUnderIt) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    cdo.resize(300, 400);
    cdo.show();
    QSignalSpy doubleClicks(&cdo, &TCDirectoryOutline::OnDblClick);
    QTreeWidgetItem* beta = cdo.GetChildNamed(QStringLiteral("beta"), cdo.currentItem());
    ASSERT_TRUE(beta);
    cdo.scrollToItem(beta);
    const QPoint centre = cdo.visualItemRect(beta).center();
    QTest::mouseClick(cdo.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(cdo.viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(cdo.Directory(), path("beta"));
}

TEST_F(Outline, TextCaseChangesOnlyTheNamesShown) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcUpperCase);
    QTreeWidgetItem* here = cdo.currentItem();
    cdo.Expand(here);
    EXPECT_EQ(texts(here), (QStringList{"ALPHA", "BETA", "GAMMA"}));
    cdo.setCurrentItem(here->child(0));
    EXPECT_EQ(cdo.Directory(), path("Alpha"));
    EXPECT_TRUE(QDir(cdo.Directory()).exists());

    QSignalSpy changes(&cdo, &TCDirectoryOutline::OnChange);
    cdo.SetTextCase(TCDirectoryOutline::tcLowerCase);
    EXPECT_EQ(changes.count(), 1); // a rebuild
    EXPECT_EQ(cdo.FullPath(cdo.currentItem()), path("Alpha"));
    EXPECT_EQ(cdo.currentItem()->text(0), QStringLiteral("alpha"));
    cdo.SetTextCase(TCDirectoryOutline::tcLowerCase);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(Outline, BuildSubTreeListsEveryLevelBelow) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    cdo.BuildSubTree(cdo.currentItem());
    QTreeWidgetItem* alpha = cdo.currentItem()->child(0);
    ASSERT_EQ(alpha->text(0), QStringLiteral("Alpha"));
    ASSERT_EQ(alpha->childCount(), 2);
    EXPECT_EQ(texts(alpha->child(0)), QStringList{"er"});
    EXPECT_TRUE(TCDirectoryOutline::IsListed(alpha->child(1)));
    // Another root than "/" does not exist here.
    cdo.SetDrive(QStringLiteral("C"));
    EXPECT_EQ(cdo.Drive(), QStringLiteral("/"));
}

TEST_F(Outline, RefreshListsNewAndRemovedDirectoriesAndKeepsTheSelection) {
    TCDirectoryOutline cdo(nullptr, TCDirectoryOutline::tcAsIs);
    QTreeWidgetItem* here = cdo.currentItem();
    QTreeWidgetItem* alpha = cdo.GetChildNamed(QStringLiteral("Alpha"), here);
    cdo.setCurrentItem(alpha);
    cdo.Expand(alpha);
    QDir dir(root);
    ASSERT_TRUE(dir.mkdir(QStringLiteral("epsilon")));
    ASSERT_TRUE(dir.rmdir(QStringLiteral("gamma")));
    ASSERT_TRUE(dir.mkdir(QStringLiteral("Alpha/new")));
    QSignalSpy changes(&cdo, &TCDirectoryOutline::OnChange);

    cdo.Refresh();
    EXPECT_EQ(texts(here), (QStringList{"Alpha", "beta", "epsilon"}));
    EXPECT_EQ(texts(alpha), (QStringList{"Deep", "new", "x"}));
    EXPECT_EQ(cdo.currentItem(), alpha);
    EXPECT_TRUE(alpha->isExpanded());
    EXPECT_EQ(changes.count(), 0);

    // The selected directory gone: the selection moves up to its parent.
    cdo.setCurrentItem(alpha->child(1));
    ASSERT_TRUE(dir.rmdir(QStringLiteral("Alpha/new")));
    cdo.Refresh();
    EXPECT_EQ(texts(alpha), (QStringList{"Deep", "x"}));
    EXPECT_EQ(cdo.FullPath(cdo.currentItem()), path("Alpha"));
}
