#include "record_loader.h"

#include "cell_address.h"
#include "large_buffer.h"
#include "numbers.h"
#include "time_stamp.h"
#include "windows1250.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <utility>

namespace kx {

namespace {

bool readAsXml(XmlConverter& converter, LineList lines, LoadProgress& progress) {
    converter.setProgress(
        {[&progress](int value) { progress.set(value); }, [&progress] { progress.keepAlive(); }});
    converter.loadLines(std::move(lines));
    const bool converted = converter.convertXmlRecord();
    converter.setProgress({});
    return converted;
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether the file read through `handle` changed while `read` bytes were read from it, as
// `opened` found it at the start: cut short, rewritten in place, or no longer the file under
// `path` (removed or replaced). What was read then never was one state of the record. A file
// that only grew is taken up to where it was read: a record being written is read that way.
bool changedWhileRead(int handle, const QString& path, const struct stat& opened, qint64 read) {
    struct stat now {};
    struct stat named {};
    if (::fstat(handle, &now) != 0 || ::stat(QFile::encodeName(path).constData(), &named) != 0)
        return true;
    if (named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return true;
    if (read < opened.st_size || now.st_size < read)
        return true;
    return now.st_size == opened.st_size && !sameTime(now.st_mtim, opened.st_mtim);
}

} // namespace

std::optional<QByteArray> readRecordFile(const QString& path, QString* error,
                                         const std::function<void()>& keepAlive,
                                         LineSplitter* lines) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kCannotOpen) + path;
        return std::nullopt;
    }
    struct stat opened {};
    if (::fstat(file.handle(), &opened) != 0) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kCannotOpen) + path;
        return std::nullopt;
    }
    // The size as opened, not file.size(): that asks the system again on every call.
    const qint64 size = opened.st_size;
    if (size > kMaxRecordFileSize) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kTooLarge) + path;
        return std::nullopt;
    }
    // Read in pieces into room reserved up front (a byte more than the file, so that the
    // read that finds the end needs no more room), so that a window can be served between
    // them. The file may grow while it is read; the limit holds for what is read. Reading
    // into room mapped in at once is faster than copying out of a mapping of the file.
    constexpr qint64 kPiece = qint64{1} << 18; // split while the piece is in the cache
    QByteArray bytes;
    bytes.reserve(size + 1);
    prepareLargeBuffer(bytes);
    if (lines)
        lines->expectBytes(size);
    qint64 got = 0;
    do {
        const qsizetype offset = bytes.size();
        if (offset > kMaxRecordFileSize) {
            if (error)
                *error = QString::fromUtf8(LoadMessages::kTooLarge) + path;
            return std::nullopt;
        }
        const qint64 room = bytes.capacity() - offset;
        const qint64 piece = room > 0 ? std::min(kPiece, room) : kPiece;
        bytes.resize(offset + piece);
        got = file.read(bytes.data() + offset, piece);
        bytes.resize(offset + std::max<qint64>(got, 0));
        if (got > 0 && lines)
            lines->advance(bytes, false);
        if (got > 0 && keepAlive)
            keepAlive();
    } while (got > 0);
    if (got < 0 || file.error() != QFileDevice::NoError) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kCannotOpen) + path;
        return std::nullopt;
    }
    if (changedWhileRead(file.handle(), path, opened, bytes.size())) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kChangedWhileRead) + path;
        return std::nullopt;
    }
    if (lines)
        lines->advance(bytes, true);
    return bytes;
}

RecordLoad readRecord(const QString& path, RecordFormat format, World world,
                      XmlConverter& converter, LoadProgress& progress) {
    RecordLoad result;
    QString error;
    LineSplitter splitter;
    std::optional<QByteArray> bytes = readRecordFile(
        path, &error, [&progress] { progress.keepAlive(); }, &splitter);
    if (!bytes) {
        result.error = error;
        result.unreadable = true;
        return result;
    }
    LineList text = splitter.take(std::move(*bytes));

    LoadedRecord& record = result.record.emplace();
    if (format == RecordFormat::Xml) {
        if (!readAsXml(converter, std::move(text), progress)) {
            result.record.reset();
            result.error = QString::fromUtf8(LoadMessages::kReadFailed);
            return result;
        }
        record.lines = converter.kxr();
    } else {
        // An event log is used as it is; the converter keeps its last conversion.
        record.lines = std::move(text);
    }

    const LineList& lines = record.lines;
    const qsizetype n = lines.size();
    record.events.reserve(n, 0); // the line table only; the text is shared
    for (qsizetype i = 0; i < n; ++i) {
        record.events.appendFrom(lines, i);
        progress.set(static_cast<int>(i * 50 / n + 50));
    }

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
