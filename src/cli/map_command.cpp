#include "map_command.h"

#include "cli_common.h"

#include "editor/map_reader.h"
#include "records/numbers.h"
#include "records/unit_kinds.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace kx::cli {

namespace {

QJsonObject summary(const LoadedMap& map) {
    const int width = map.editFields.width();
    const int height = map.editFields.height();
    int terrains[4] = {};
    int unitFields = 0;
    qint64 units[7] = {};
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const int32_t code = map.editFields(x, y);
            ++terrains[fileTerrainType(code)];
            const int32_t unit = map.editUnits(x, y);
            if (unit % 10 != 0) {
                ++unitFields;
                units[unit % 10] += unit / 10;
            }
        }
    QJsonObject unitTotals;
    for (int kind = 1; kind <= 6; ++kind)
        unitTotals.insert(unitName(kind), units[kind]);
    const auto number = [](const QString& text) { return *parseDecimalInt(QStringView(text)); };
    return {{"name", map.texts.edName},
            {"author", map.texts.edAuthor},
            {"description", map.texts.mPopis},
            {"width", width},
            {"height", height},
            {"speed", number(map.texts.edSpeed)},
            {"limit", number(map.texts.edLimit)},
            {"min", number(map.texts.edMinE)},
            {"max", number(map.texts.edMaxE)},
            {"terrain", QJsonObject{{QString::fromUtf8("normální"), terrains[0]},
                                    {QString::fromUtf8("bažina"), terrains[1]},
                                    {QString::fromUtf8("skála"), terrains[2]},
                                    {QString::fromUtf8("nedobytné"), terrains[3]}}},
            {"unitFields", unitFields},
            {"units", unitTotals}};
}

} // namespace

int runMap(const QStringList& args) {
    if (args.size() == 2 && args.first() == QLatin1String("check") &&
        (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"))) {
        printOut(QStringLiteral("Použití: kxrtool ") + QString::fromUtf8(kMapUsage));
        return kExitOk;
    }
    if (args.size() != 2 || args.first() != QLatin1String("check") || isOption(args[1]))
        return usageError(kMapUsage);

    const MapReading reading = readMapFile(args[1]);
    if (!reading.map) {
        printError(reading.error);
        return kExitFailure;
    }
    const QByteArray json =
        QJsonDocument(summary(*reading.map)).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return kExitOk;
}

} // namespace kx::cli
