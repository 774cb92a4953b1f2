#include "record_files.h"

#include "records/record_loader.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

const QString kHeader = QString::fromUtf8("2005-07-03-14-00-00; Les u potoka; 2; 5; 3; 4;");
const QString kMap = QString::fromUtf8("2005-07-03-14-00-00; create_world; NNBSNNXNNNSSSNn;");

} // namespace

// Reading gives the record with its initial world, built on the world it starts from, or
// the exact message; only a file that cannot be read counts as unreadable.
TEST(ReadRecord, GivesTheWorldOrTheMessageForBothFormats) {
    struct NoProgress : LoadProgress {
        void set(int) override {}
        void keepAlive() override {}
    } progress;
    RecordFiles files;
    const QString log = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr");
    const QString xml = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr2");
    const QString cut = files.write("cut.kxr", {kHeader, kMap});
    const QString missing = files.path("missing.kxr");
    const struct {
        QString path;
        RecordFormat format;
        QString error; // empty: the record loads
        bool unreadable;
    } cases[] = {
        {log, RecordFormat::EventLog, {}, false},
        {xml, RecordFormat::Xml, {}, false},
        {log, RecordFormat::Xml, LoadMessages::kReadFailed, false},
        {xml, RecordFormat::EventLog, LoadMessages::kNoHeader, false},
        {cut, RecordFormat::EventLog, LoadMessages::kPlayersMismatch, false},
        {missing, RecordFormat::Xml, LoadMessages::kCannotOpen + missing, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        World start;
        start.liveDisplay = 0;
        XmlConverter converter;
        const RecordLoad load = readRecord(c.path, c.format, start, converter, progress);
        EXPECT_EQ(load.error, c.error);
        EXPECT_EQ(load.unreadable, c.unreadable);
        ASSERT_EQ(load.record.has_value(), c.error.isEmpty());
        if (!load.record)
            continue;
        EXPECT_EQ(load.record->world.width(), 20);
        EXPECT_EQ(load.record->world.liveDisplay, 0);
        EXPECT_EQ(load.record->players.size(), 5);
        EXPECT_EQ(load.record->caption, QString::fromUtf8(" Kopretinová louka - hráči "));
        EXPECT_EQ(load.record->world.eventIndex, 7); // past the header, the map and 5 HQs
        EXPECT_TRUE(load.record->warning.isEmpty());
    }
}
