#include "directory_names.h"

#include <QCollator>
#include <QDir>

#include <algorithm>
#include <vector>

namespace kx {

QStringList subdirectoryNames(const QString& path, const QLocale& locale) {
    QStringList names =
        QDir(path).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')); });

    QCollator anyCase(locale);
    anyCase.setCaseSensitivity(Qt::CaseInsensitive);
    QCollator exactCase(locale);
    exactCase.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<QCollatorSortKey> keys;
    std::vector<qsizetype> order;
    keys.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        keys.push_back(anyCase.sortKey(names[i]));
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = keys[size_t(a)].compare(keys[size_t(b)]))
            return c < 0;
        if (const int c = exactCase.compare(names[a], names[b]))
            return c < 0;
        return names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : order)
        sorted.append(names[i]);
    return sorted;
}

} // namespace kx
