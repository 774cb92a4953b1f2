#pragma once

#include "world_figures.h"

#include "replay/main_state.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace kx {

// A cheap identity of the loaded record: the event list's shared text, its number of lines,
// a hash of its first and last lines, the file name and how it was read. Every load or
// reload makes a new event list, so a change of record changes the identity.
struct RecordIdentity {
    const void* text = nullptr;
    qsizetype lines = 0;
    size_t hash = 0;
    QString fileName;
    RecordFormat format = RecordFormat::Xml;

    bool operator==(const RecordIdentity&) const = default;
};

RecordIdentity recordIdentity(const MainState& state);

// The figures of the last record they were computed for; computed again only when the
// record changes.
class FigureCache {
  public:
    bool isCurrent(const RecordIdentity& identity) const { return key_ && *key_ == identity; }
    bool isCurrent(const MainState& state) const { return isCurrent(recordIdentity(state)); }

    // The figures of the state's record, computed now unless they are cached.
    const WorldFigures& figures(const MainState& state, const FigureProgress& progress = {});
    // Keeps figures computed elsewhere (on another thread) for the record `identity`.
    void store(const RecordIdentity& identity, WorldFigures figures);
    const WorldFigures& cached() const { return figures_; }
    void clear();

    int computations() const { return computations_; }

  private:
    std::optional<RecordIdentity> key_;
    WorldFigures figures_;
    int computations_ = 0;
};

} // namespace kx
