#include "bench_records.h"

#include "record_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <tuple>

namespace kx::bench {

QString generatedLog(int64_t events, int width, int height, int players) {
    static QTemporaryDir dir;
    static std::map<std::tuple<int64_t, int, int, int>, QString> made;
    const auto key = std::make_tuple(events, width, height, players);
    if (auto it = made.find(key); it != made.end())
        return it->second;
    RecordGeneratorOptions options;
    options.seed = 20261208;
    options.events = events;
    options.width = width;
    options.height = height;
    options.players = players;
    const QString path =
        dir.filePath(QStringLiteral("bench_%1_%2x%3.kxr").arg(events).arg(width).arg(height));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeGeneratedRecord(options, nullptr, &file))
        return {};
    made.emplace(key, path);
    return path;
}

} // namespace kx::bench
