#include "record_files.h"

#include "record_generator.h"

#include "records/record_prefetch.h"
#include "replay/session.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

// What a load leaves in a session, for comparing two loads.
QStringList loadedState(const ReplaySession& session, const RecordedMessages& messages) {
    const MainState& state = session.state();
    QStringList out = messages.shown;
    out << state.cbPlayers << state.gbPlayersCaption << state.dlgOpen.fileName
        << QString::number(state.lvData.size()) << QString::number(state.mapColumns)
        << QString::number(state.converter.kxr().size())
        << QString::number(state.world.lastEventTime);
    for (qsizetype i = 0; i < state.lvData.size(); i += 97)
        out << QString::fromLatin1(state.lvData.line(i).toByteArray());
    return out;
}

} // namespace

// A record read ahead loads as the same record read when asked, whatever its kind; a read of
// another file is dropped and the file asked for is read.
TEST(RecordPrefetchTest, AReadAheadLoadsAsTheRecordReadWhenAsked) {
    RecordFiles files;
    RecordGeneratorOptions options;
    options.seed = 4;
    options.events = 3000;
    const GeneratedRecord record = generateRecord(options);
    const QString xml = files.writeBytes(QStringLiteral("a.kxr2"), record.xml);
    const QString log = files.writeBytes(QStringLiteral("a.kxr"), record.log);
    const QString damaged = files.writeBytes(QStringLiteral("d.kxr2"), record.xml.left(5000));
    const QString missing = files.path(QStringLiteral("none.kxr2"));
    for (const auto& [path, prefetched] :
         {std::pair{xml, xml}, std::pair{log, log}, std::pair{damaged, damaged},
          std::pair{missing, missing}, std::pair{log, xml}}) {
        SCOPED_TRACE(path.toStdString());
        RecordedMessages plainMessages;
        ReplaySession plain(plainMessages, QLocale::c());
        const LoadStatus expected = plain.openRecord(path, recordFormatForPath(path));

        RecordedMessages messages;
        ReplaySession ahead(messages, QLocale::c());
        ahead.setPrefetch(std::make_unique<RecordPrefetch>(
            prefetched, recordFormatForPath(prefetched), ReplaySession::blankWorld()));
        EXPECT_EQ(ahead.openRecord(path, recordFormatForPath(path)), expected);
        EXPECT_EQ(loadedState(ahead, messages), loadedState(plain, plainMessages));
    }
}
