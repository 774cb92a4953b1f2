#include "player_directory.h"

#include "records/windows1250.h"

namespace kx {

void PlayerDirectory::rebuild(const QStringList& entries) {
    entries_ = entries;
    louka_.clear();
    les_.clear();
    byRecordName_.clear();
    const QString louka = QStringLiteral(" (louka)");
    const QString les = QStringLiteral(" (les)");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString folded = entries[i].toCaseFolded();
        // The list's search finds the first matching entry.
        if (folded.endsWith(louka))
            louka_.insert(folded.chopped(louka.size()),
                          louka_.value(folded.chopped(louka.size()), int(i)));
        if (folded.endsWith(les))
            les_.insert(folded.chopped(les.size()), les_.value(folded.chopped(les.size()), int(i)));
    }
}

int PlayerDirectory::indexOf(QByteArrayView name) const {
    // Records name the same players the same way again and again: remember each spelling.
    const QByteArray key = QByteArray::fromRawData(name.data(), name.size());
    if (const auto known = byRecordName_.constFind(key); known != byRecordName_.constEnd())
        return *known;
    const QString folded = decodeWindows1250(name).toCaseFolded();
    int index = -1;
    if (const auto it = louka_.constFind(folded); it != louka_.constEnd())
        index = *it;
    else
        index = les_.value(folded, -1);
    if (byRecordName_.size() < 4096)
        byRecordName_.insert(name.toByteArray(), index);
    return index;
}

} // namespace kx
