#include "bench_records.h"

#include "record_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>

namespace kx::bench {

int64_t recordEvents() {
    if (const char* text = std::getenv("KX_BENCH_EVENTS"))
        return std::atoll(text);
    return 1'000'000;
}

QString generatedRecord(int64_t events, int width, int height, int players, bool xml) {
    static QTemporaryDir dir;
    static std::map<std::tuple<int64_t, int, int, int, bool>, QString> made;
    const auto key = std::make_tuple(events, width, height, players, xml);
    if (auto it = made.find(key); it != made.end())
        return it->second;
    RecordGeneratorOptions options;
    options.seed = 20261208;
    options.events = events;
    options.width = width;
    options.height = height;
    options.players = players;
    const QString path =
        dir.filePath(QStringLiteral("bench_%1_%2x%3.%4")
                         .arg(events)
                         .arg(width)
                         .arg(height)
                         .arg(xml ? QStringLiteral("kxr2") : QStringLiteral("kxr")));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !writeGeneratedRecord(options, xml ? &file : nullptr, xml ? nullptr : &file))
        return {};
    made.emplace(key, path);
    return path;
}

} // namespace kx::bench
