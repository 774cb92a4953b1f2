#include "record_loader.h"

#include "cell_address.h"
#include "large_buffer.h"
#include "numbers.h"
#include "streamed_lines.h"
#include "time_stamp.h"
#include "windows1250.h"

#include <algorithm>
#include <utility>

namespace kx {

namespace {

// The bar's last value in a load; the bar is hidden when the load ends.
constexpr int kLastProgress = 99;

// Converts the record while it is read: its text is never held whole next to the converted
// log. The rest of the file is read after the conversion, so that a file that changed while it
// was read is found as when the record is read whole.
std::optional<QString> readAsXml(const QString& path, XmlConverter& converter,
                                 LoadProgress& progress, bool& converted) {
    RecordFileStream file;
    QString error;
    if (!file.open(path, &error))
        return error;
    StreamedLines lines([&](char* into, qint64 room) {
        const qint64 got = file.read(into, room);
        progress.keepAlive();
        return got;
    });
    converter.setProgress(
        // The conversion is the whole load: its 0 to 50 fill the bar (to 99, as a load ends).
        {[&progress](int value) { progress.set(value * kLastProgress / 50); },
         [&progress] { progress.keepAlive(); }});
    converted = converter.convertXmlStream(lines, file.size());
    converter.setProgress({});
    converter.setStreamedPath(path);
    lines.drain();
    if (!file.finish(&error))
        return error;
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> readRecordFile(const QString& path, QString* error,
                                         const std::function<void()>& keepAlive,
                                         LineSplitter* lines,
                                         const std::function<void(int)>& percent) {
    RecordFileStream file;
    if (!file.open(path, error))
        return std::nullopt;
    // Read in pieces into room reserved up front (a byte more than the file, so that the
    // read that finds the end needs no more room), so that a window can be served between
    // them. Reading into room mapped in at once is faster than copying out of a mapping of
    // the file.
    constexpr qint64 kPiece = qint64{1} << 18; // split while the piece is in the cache
    QByteArray bytes;
    bytes.reserve(file.size() + 1);
    prepareLargeBuffer(bytes);
    if (lines)
        lines->expectBytes(file.size());
    qint64 got = 0;
    do {
        const qsizetype offset = bytes.size();
        const qint64 room = bytes.capacity() - offset;
        const qint64 piece = room > 0 ? std::min(kPiece, room) : kPiece;
        bytes.resize(offset + piece);
        got = file.read(bytes.data() + offset, piece);
        bytes.resize(offset + std::max<qint64>(got, 0));
        if (got > 0 && lines)
            lines->advance(bytes, false);
        if (got > 0 && percent)
            percent(int(std::min<qint64>(bytes.size(), file.size()) * 100 /
                        std::max<qint64>(file.size(), 1)));
        if (got > 0 && keepAlive)
            keepAlive();
    } while (got > 0);
    if (!file.finish(error))
        return std::nullopt;
    if (lines)
        lines->advance(bytes, true);
    return bytes;
}

bool restoreConverterLog(XmlConverter& converter) {
    const QString path = converter.streamedPath();
    if (path.isEmpty() || !converter.log().isEmpty())
        return false;
    std::optional<QByteArray> bytes = readRecordFile(path, nullptr);
    if (!bytes) {
        converter.setStreamedPath({}); // tried once: the window shows what is kept
        return false;
    }
    converter.loadLog(std::move(*bytes));
    converter.convertXmlRecord();
    return true;
}

RecordLoad readRecord(const QString& path, RecordFormat format, World world,
                      XmlConverter& converter, LoadProgress& progress) {
    RecordLoad result;
    LoadedRecord& record = result.record.emplace();
    if (format == RecordFormat::Xml) {
        bool converted = false;
        if (std::optional<QString> error = readAsXml(path, converter, progress, converted)) {
            result.record.reset();
            result.error = std::move(*error);
            result.unreadable = true;
            return result;
        }
        if (!converted) {
            result.record.reset();
            result.error = QString::fromUtf8(LoadMessages::kReadFailed);
            return result;
        }
        record.lines = converter.kxr();
    } else {
        // An event log is used as it is; the converter keeps its last conversion.
        QString error;
        LineSplitter splitter;
        std::optional<QByteArray> bytes = readRecordFile(
            path, &error, [&progress] { progress.keepAlive(); }, &splitter,
            [&progress](int percent) { progress.set(percent * kLastProgress / 100); });
        if (!bytes) {
            result.record.reset();
            result.error = error;
            result.unreadable = true;
            return result;
        }
        record.lines = splitter.take(std::move(*bytes));
    }

    // The text and the line table are shared.
    record.events = EventList::fromLines(record.lines);
    progress.set(kLastProgress);

    record.world = std::move(world);
    WorldBuild built = buildInitialWorld(record.events, record.world, record.players,
                                         record.caption, record.mapColumns, record.mapRows);
    if (!built.ok) {
        result.record.reset();
        result.error = std::move(built.message);
        return result;
    }
    record.warning = std::move(built.message);
    return result;
}

WorldBuild buildInitialWorld(const EventList& items, World& world, QStringList& playerNames,
                             QString& caption, int& mapColumns, int& mapRows) {
    auto fail = [](const char* message) { return WorldBuild{false, QString::fromUtf8(message)}; };
    playerNames.clear();
    const QByteArrayView createWorld("create_world");
    qsizetype headerIndex;
    qsizetype mapIndex;
    if (items.size() > 1 && items.item(1).caption == createWorld) {
        headerIndex = 0;
        mapIndex = 1;
    } else if (items.size() > 1 && items.item(0).caption == createWorld) {
        headerIndex = 1;
        mapIndex = 0;
    } else {
        return fail(LoadMessages::kNoHeader);
    }

    const EventItem header = items.item(headerIndex);
    if (header.subItemCount < 5)
        return fail(LoadMessages::kNoWorld);
    const auto speed = parseDecimalInt(header.subItem(4));
    const auto width = parseDecimalInt(header.subItem(2));
    const auto height = parseDecimalInt(header.subItem(3));
    const auto players = parseDecimalInt(header.subItem(1));
    if (!speed || !width || !height || !players)
        return fail(LoadMessages::kNoWorld);
    if (*width < 1 || *height < 1 || *width > kMaxWorldSide || *height > kMaxWorldSide)
        return fail(LoadMessages::kWorldSize);
    if (*players < 0 || *players > kMaxPlayers)
        return fail(LoadMessages::kPlayerCount);

    world.movesPerHour = *speed;
    caption = QStringLiteral(" ") + header.captionText() + QString::fromUtf8(" - hráči ");
    world.allocateWorld(*width, *height, *players);
    mapColumns = *width + 1;
    mapRows = *height + 1;

    const EventItem mapItem = items.item(mapIndex);
    const QByteArrayView mapText = mapItem.subItem(1);
    if (mapItem.subItemCount < 2 || mapText.size() < qsizetype(*width) * *height)
        return fail(LoadMessages::kNoMap);
    for (int x = 0; x < *width; ++x)
        for (int y = 0; y < *height; ++y)
            world.fieldGrid(x, y) = terrainFromLetter(mapText[qsizetype(y) * *width + x]);

    for (int i = 0; i < *players; ++i) {
        if (i + 2 >= items.size())
            return fail(LoadMessages::kPlayersMismatch);
        const EventItem hq = items.item(i + 2);
        if (hq.caption != QByteArrayView("create_hq"))
            return fail(LoadMessages::kPlayersMismatch);
        playerNames.append(hq.subItemText(1) + QStringLiteral(" (") + hq.subItemText(2) +
                           QStringLiteral(")"));
        const int x = addressColumn(hq.subItem(3));
        const int y = addressRow(hq.subItem(3));
        if (!world.contains(x, y))
            return fail(LoadMessages::kHqOutside);
        PlayerRecord& record = world.playerTable[static_cast<size_t>(i)];
        record = {i, 15, 500, kTeamLouka, x, y, 0, 0};
        FieldGrid::Ref code = world.fieldGrid(x, y);
        code = wrapAdd(code, (i + 1) * 100 + 30);
        if (hq.subItem(2) == QByteArrayView("les")) {
            code = wrapAdd(code, 5);
            record[Team] = kTeamLes;
        }
    }

    WorldBuild built{true, QString()};
    if (const auto time = readTimeStamp(items.item(*players + 1).subItem(0))) {
        world.lastEventTime = time->seconds;
        world.lastEventHour = time->hour;
    } else
        built.message = QString::fromUtf8(kTimeFormatError);

    world.eventIndex = *players + 2;
    return built;
}

} // namespace kx
