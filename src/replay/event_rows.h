#pragma once

#include "event_kind.h"
#include "scratch_replay.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kx {

class ReplaySession;

// The rows of the event list: every event of the session's record (the header and HQ lines
// are not events), optionally narrowed to one player and one kind, each with its time, kind
// and the sentence it produces. Nothing is done for all events at once unless a filter asks
// for it: the unfiltered rows are the events themselves, and sentences are replayed on a
// scratch world a block at a time, only for the rows that are asked for.
class EventRows {
  public:
    explicit EventRows(const ReplaySession& session);
    ~EventRows();

    // Follows the session to another record (dropping the player filter); true when the rows
    // were rebuilt.
    bool sync();

    // -1 and nullopt mean any player, any kind. A player filter needs to know who took part
    // in every event: the first one replays the whole record once (kept per record).
    void setFilter(int playerIndex, std::optional<EventKind> kind);
    // Only these events (sorted), besides the filter above; nullopt for every event.
    void setOnlyEvents(std::optional<std::vector<int32_t>> events);
    bool onlyEvents() const { return only_.has_value(); }
    int playerFilter() const { return player_; }
    std::optional<EventKind> kindFilter() const { return kind_; }

    int32_t rowCount() const;
    // The item index of the event of a row.
    int32_t eventAt(int32_t row) const;
    // The row of an event, or of the last row before it when the filter hides it; -1 if none.
    int32_t rowAtOrBefore(int32_t eventIndex) const;
    // The row showing exactly this event, or -1.
    int32_t rowOf(int32_t eventIndex) const;

    QString timeText(int32_t row) const;
    QString kindText(int32_t row) const;
    QString sentence(int32_t row);

  private:
    static constexpr int32_t kBlock = 256;
    const std::vector<QString>& block(int32_t blockIndex);
    const World& nearestWorld(int32_t eventIndex);
    bool wantsOwnCopy(int32_t event) const;
    void ensureKinds();
    void ensurePlayers();
    void rebuildRows();

    const ReplaySession& session_;
    uint64_t generation_ = 0;
    int32_t first_ = 0;
    int32_t count_ = 0;
    int player_ = -1;
    std::optional<EventKind> kind_;
    std::optional<std::vector<int32_t>> only_;
    bool filtered_ = false;
    std::vector<int32_t> rows_;         // the events shown, while filtered
    std::vector<EventKind> kinds_;      // per event from first_, once asked for
    std::vector<EventPlayers> players_; // per event from first_, once asked for
    struct SentenceBlock {
        std::vector<QString> sentences;
        uint64_t lastUse = 0;
    };
    std::unordered_map<int32_t, SentenceBlock> blocks_; // sentences per block, the latest used
    uint64_t uses_ = 0;
    std::map<int32_t, World> ownCopies_; // worlds taken at block starts on the way
    int32_t copyStride_ = 1;             // blocks between two own copies
    std::unique_ptr<ScratchReplay> scratch_;
};

} // namespace kx
