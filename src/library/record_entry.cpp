#include "record_entry.h"

#include "browser/record_list.h"
#include "records/record_format.h"
#include "records/record_loader.h"
#include "replay/replayer.h"
#include "replay/world_end.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <set>

namespace kx {

namespace {

struct NoProgress : LoadProgress {
    void set(int) override {}
    void keepAlive() override {}
};

// The hash of a file's bytes, for a record that could not be loaded.
QString fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString recordContentHash(const LineList& lines) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        hash.addData(lines.at(i));
        hash.addData(QByteArrayView("\n", 1));
    }
    return QString::fromLatin1(hash.result().toHex());
}

namespace {

// The map name and the ISO date of a record's file name ("map_dd-mm-yyyy" style names as
// the browser reads them).
void nameParts(const QString& fileName, RecordEntry& entry) {
    const std::optional<RecordRow> row = recordRowOf(fileName);
    if (!row) {
        entry.map = QFileInfo(fileName).completeBaseName();
        return;
    }
    entry.map = row->map;
    const QDate date = QDate::fromString(row->date, QStringLiteral("dd. MM. yyyy"));
    if (date.isValid())
        entry.date = date.toString(Qt::ISODate);
}

// Whether the owned fields of the map all belong to players of one team.
bool oneTeamLeft(const World& world, const std::vector<EntryPlayer>& players) {
    std::set<QString> teams;
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y) {
            const int32_t owner = world.fieldGrid(x, y) / 100;
            if (owner >= 1 && owner <= static_cast<int>(players.size()))
                teams.insert(players[static_cast<size_t>(owner - 1)].team.toLower());
        }
    return teams.size() == 1;
}

} // namespace

QString isoTimeOfStamp(QByteArrayView stamp) {
    const QList<QByteArray> parts = stamp.toByteArray().split('-');
    if (parts.size() != 6)
        return {};
    int numbers[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].startsWith('+') || parts[i].startsWith('-'))
            return {};
    }
    const QDate date(numbers[0], numbers[2], numbers[1]);
    const QTime time(numbers[3], numbers[4], numbers[5]);
    if (!date.isValid() || !time.isValid())
        return {};
    return date.toString(Qt::ISODate) + u' ' + time.toString(Qt::ISODate);
}

RecordEntry readRecordEntry(const QString& path) {
    RecordEntry entry;
    const QFileInfo info(path);
    entry.path = info.absoluteFilePath();
    entry.size = info.size();
    entry.modified = info.lastModified().toMSecsSinceEpoch();
    const RecordFormat format = recordFormatForPath(path);
    entry.format = format == RecordFormat::Xml ? QStringLiteral("kxr2") : QStringLiteral("kxr");
    nameParts(info.fileName(), entry);

    XmlConverter converter;
    NoProgress progress;
    RecordLoad load = readRecord(path, format, World(), converter, progress);
    if (!load.record) {
        entry.damaged = load.error;
        entry.hash = fileHash(path);
        return entry;
    }
    LoadedRecord& record = *load.record;
    entry.hash = recordContentHash(record.lines);
    World& world = record.world;
    const int32_t first = world.eventIndex;
    // The header is the first line unless the map line comes first, as the build reads it.
    const EventItem header = record.events.item(1).caption == QByteArrayView("create_world")
                                 ? record.events.item(0)
                                 : record.events.item(1);
    entry.world = header.captionText();
    entry.width = world.width();
    entry.height = world.height();
    entry.speed = world.movesPerHour;
    entry.limit = world.playerCount();
    entry.events = static_cast<int32_t>(record.events.size()) - first;
    if (entry.events > 0) {
        entry.firstTime = isoTimeOfStamp(record.events.item(first).subItem(0));
        entry.lastTime = isoTimeOfStamp(record.events.item(record.events.size() - 1).subItem(0));
    }

    world.liveDisplay = 0;
    Replayer replayer(world, record.events, record.players);
    QStringList silent;
    while (!replayer.atEnd())
        replayer.step(silent);

    const std::vector<ResultRow> rows = resultRows(world);
    const BestRow best = bestRow(rows);
    for (int i = 0; i < world.playerCount(); ++i) {
        const EventItem hq = record.events.item(i + 2);
        EntryPlayer player;
        player.name = hq.subItemText(1);
        player.team = hq.subItemText(2);
        player.hq = hq.subItemText(3);
        const ResultRow& row = rows[static_cast<size_t>(i)];
        player.survivor = isSurvivor(row);
        player.experience = player.survivor ? experience(rows, best, i) : 0;
        player.kills = row[ResultKills];
        player.wins = row[ResultWins];
        player.nectar = row[ResultNectar];
        player.production = row[ResultProduction];
        player.fields = row[ResultFields];
        entry.players.push_back(std::move(player));
    }
    entry.winner = winningTeam(world, record.players);
    entry.ended = oneTeamLeft(world, entry.players);
    return entry;
}

} // namespace kx
