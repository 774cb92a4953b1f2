#include "file_faults.h"
#include "library_fixture.h"

#include "library/bookmarks.h"
#include "library/indexer.h"

using namespace kx;
using namespace kx::test;

namespace {

// Fills the disk under `folder` with one file until no byte more fits.
void fill(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {
    }
}

} // namespace

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

    const struct {
        const char* name;
        const char* reason; // SQLite's words, then the system's
        const char* bookmarkReason;
    } cases[] = {{"full", "full", "No space left on device"},
                 {"read-only", "readonly", "Read-only file system"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name == std::string_view("full"))
            fill(disk.path());
        else
            ASSERT_TRUE(QFile::remove(disk.filePath("filler")) && disk.makeReadOnly());
        std::unique_ptr<Library> library = Library::open(location, &error);
        ASSERT_TRUE(library) << error.toStdString();
        const IndexResult run = indexFolders(*library, {records.filePath("b")});
        ASSERT_FALSE(run.errors.isEmpty());
        EXPECT_TRUE(run.errors[0].contains(location.file)) << run.errors[0].toStdString();
        EXPECT_TRUE(run.errors[0].contains(c.reason)) << run.errors[0].toStdString();
        EXPECT_EQ(library->query({}).size(), 1u);

        EXPECT_FALSE(bookmarks.set("abc", {9, QStringLiteral("ústup")}));
        EXPECT_TRUE(bookmarks.lastError().contains(c.bookmarkReason))
            << bookmarks.lastError().toStdString();
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), kept);
        saved.close();
    }
    EXPECT_EQ(entriesUnder(disk.path()), QStringList({"bookmarks.json", "library.sqlite"}));
}
