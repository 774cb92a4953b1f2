#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

namespace kx {

// Finds players by the names events give them, as playerIndexByName does, without searching
// the whole list for every event: the entries are folded to one letter case once.
class PlayerDirectory {
  public:
    void rebuild(const QStringList& entries);
    // Whether the directory was built from exactly this list (shared, unchanged since).
    bool isFor(const QStringList& entries) const {
        return entries.constData() == entries_.constData() && entries.size() == entries_.size();
    }
    // The index of the entry equal to name + " (louka)", else name + " (les)", ignoring
    // letter case; -1 when there is none. The name is Windows-1250 text.
    int indexOf(QByteArrayView name) const;

  private:
    QStringList entries_;
    QHash<QString, int> louka_;
    QHash<QString, int> les_;
    mutable QHash<QByteArray, int> byRecordName_; // names as records write them, once found
};

} // namespace kx
