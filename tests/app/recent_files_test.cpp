#include "app/recent_files.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kx;

TEST(RecentFiles, NewestFirstEachOnceAtMostTenAndKeptInTheSettings) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("kx.ini"));
    const auto path = [&](int i) { return dir.filePath(QStringLiteral("r%1.kxr2").arg(i)); };
    {
        QSettings settings(ini, QSettings::IniFormat);
        RecentFiles recent(&settings);
        EXPECT_TRUE(recent.paths().isEmpty());
        for (int i = 1; i <= 12; ++i)
            recent.add(path(i));
        ASSERT_EQ(recent.paths().size(), RecentFiles::kMaxEntries);
        EXPECT_EQ(recent.paths().first(), path(12));
        EXPECT_EQ(recent.paths().last(), path(3));
        // Opening a listed record again moves it up; a path spelled another way is the same.
        recent.add(dir.path() + QStringLiteral("/./r5.kxr2"));
        EXPECT_EQ(recent.paths().first(), path(5));
        EXPECT_EQ(recent.paths().count(path(5)), 1);
        EXPECT_EQ(recent.paths().size(), RecentFiles::kMaxEntries);
        recent.remove(path(12));
        recent.add(QString());
    }
    QSettings settings(ini, QSettings::IniFormat);
    RecentFiles nextRun(&settings);
    ASSERT_EQ(nextRun.paths().size(), 9);
    EXPECT_EQ(nextRun.paths()[0], path(5));
    EXPECT_EQ(nextRun.paths()[1], path(11));
    EXPECT_FALSE(nextRun.paths().contains(path(12)));
    nextRun.clear();
    EXPECT_TRUE(RecentFiles(&settings).paths().isEmpty());
}

TEST(RecentFiles, AHandEditedListIsCleanedOnReading) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("kx.ini")), QSettings::IniFormat);
    QStringList stored = {QString(), QStringLiteral("/a/b/../x.kxr"), QStringLiteral("/a/x.kxr")};
    for (int i = 0; i < 20; ++i)
        stored.append(QStringLiteral("/r%1.kxr").arg(i));
    settings.setValue(QStringLiteral("recentFiles"), stored);
    const RecentFiles recent(&settings);
    ASSERT_EQ(recent.paths().size(), RecentFiles::kMaxEntries);
    EXPECT_EQ(recent.paths()[0], QStringLiteral("/a/x.kxr"));
    EXPECT_EQ(recent.paths()[1], QStringLiteral("/r0.kxr"));
}
