#include "file_faults.h"
#include "library_fixture.h"

#include "library/bookmarks.h"
#include "library/indexer.h"

using namespace kx;
using namespace kx::test;

// A disk that fills up while the library indexes, and a folder that turns read-only: the
// message names the library and the reason, what was indexed before stays, and the bookmark
// file beside it is kept as it was.
TEST(LibraryFaults, AFullOrReadOnlyDiskKeepsWhatWasThere) {
    SmallDisk disk(512 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    QTemporaryDir records;
    writeWorld(records.filePath("a"), "Louka_2026-06-02.kxr", {{"Pepa", "louka", "A0"}});
    for (int i = 0; i < 300; ++i)
        writeWorld(records.filePath("b"), QStringLiteral("Svet%1_2026-06-02.kxr").arg(i),
                   {{"Jana", "les", "A0"}, {"Karel", "louka", "C2"}});
    LibraryLocation location;
    location.file = disk.filePath("library.sqlite");
    const QString bookmarkFile = disk.filePath("bookmarks.json");
    QString error;
    {
        std::unique_ptr<Library> library = Library::open(location, &error);
        ASSERT_TRUE(library) << error.toStdString();
        ASSERT_TRUE(indexFolders(*library, {records.filePath("a")}).errors.isEmpty());
    }
    Bookmarks bookmarks(disk.filePath("none.sqlite"), bookmarkFile);
    ASSERT_TRUE(bookmarks.set("abc", {7, QStringLiteral("útok")}));
    QFile saved(bookmarkFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray kept = saved.readAll();
    saved.close();

    const auto indexed = [&] {
        std::unique_ptr<Library> library = Library::open(location, &error);
        EXPECT_TRUE(library) << error.toStdString();
        return library ? library->query({}).size() : size_t{0};
    };
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full" : "read-only");
        // The disk fills up while the library is open and indexing; a read-only disk is
        // met by opening it. Either way the message names the library.
        if (!full) {
            ASSERT_TRUE(disk.makeReadOnly());
        }
        QString message;
        if (std::unique_ptr<Library> library = Library::open(location, &message)) {
            if (full)
                disk.fill();
            message = indexFolders(*library, {records.filePath("b")}).errors.value(0);
        }
        EXPECT_TRUE(message.contains(location.file)) << message.toStdString();
        if (full)
            disk.fill(); // again: the closed library gave back its journal's room
        EXPECT_FALSE(bookmarks.set("abc", {9, QStringLiteral("ústup")}));
        EXPECT_TRUE(
            bookmarks.lastError().contains(full ? "No space left on device" : "is not writable"))
            << bookmarks.lastError().toStdString();
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), kept);
        saved.close();
        if (full) {
            ASSERT_TRUE(QFile::remove(disk.filePath("filler")));
            EXPECT_EQ(indexed(), 1u);
        }
    }
    EXPECT_EQ(entriesUnder(disk.path()), QStringList({"bookmarks.json", "library.sqlite"}));
}
