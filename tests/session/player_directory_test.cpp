#include "records/windows1250.h"
#include "replay/nectar_transfers.h"
#include "replay/player_directory.h"

#include <gtest/gtest.h>

using namespace kx;

// The directory answers exactly as the list's own case-insensitive search.
TEST(PlayerDirectory, FindsWhatTheListSearchFinds) {
    const QStringList entries = {"Pepa (louka)", QString::fromUtf8("Šimon (les)"),
                                 "Jana (Les)",   "Pepa (les)",
                                 "Ema (lesy)",   "pepa (LOUKA)",
                                 "Olga (louka"};
    PlayerDirectory directory;
    directory.rebuild(entries);
    EXPECT_TRUE(directory.isFor(entries));
    for (const char* name : {"Pepa", "pepa", "PEPA", "šimon", "ŠIMON", "Jana", "jana", "Ema",
                             "Olga", "Nikdo", "", "Pepa (louka)"}) {
        const QByteArray bytes = *encodeWindows1250(QString::fromUtf8(name));
        EXPECT_EQ(directory.indexOf(bytes), playerIndexByName(entries, bytes)) << name;
        EXPECT_EQ(directory.indexOf(bytes), playerIndexByName(entries, bytes)) << "again " << name;
    }
    EXPECT_EQ(directory.indexOf("pepa"), 0);
    EXPECT_EQ(directory.indexOf("Jana"), 2);
    QStringList changed = entries;
    changed[0] = "Karel (louka)";
    EXPECT_FALSE(directory.isFor(changed));
}
