#include "event_rows.h"

#include "session.h"

#include "records/time_stamp.h"

#include <algorithm>

namespace kx {

namespace {
// Sentences kept: a screenful of filtered rows may come from as many blocks as it has rows;
// the least recently used block goes first, so a slide show keeps the list's memory flat.
constexpr size_t kMaxBlocks = 64;
constexpr int64_t kCopyBudget = int64_t{32} << 20; // bytes for the list's own worlds
} // namespace

EventRows::EventRows(const ReplaySession& session) : session_(session) {
    sync();
}

EventRows::~EventRows() = default;

bool EventRows::sync() {
    if (generation_ == session_.recordGeneration() && scratch_)
        return false;
    generation_ = session_.recordGeneration();
    first_ = session_.firstEventIndex();
    count_ = std::max<int32_t>(0, session_.eventCount() - first_);
    kinds_.clear();
    players_.clear();
    blocks_.clear();
    ownCopies_.clear();
    const World& world = session_.initialWorld();
    const int64_t worldBytes =
        int64_t{world.width()} * world.height() * 8 + int64_t{world.playerCount()} * 32 + 256;
    const int64_t blocks = count_ / kBlock + 1;
    const int64_t copies = std::max<int64_t>(1, kCopyBudget / worldBytes);
    copyStride_ = static_cast<int32_t>(std::max<int64_t>(1, (blocks + copies - 1) / copies));
    const MainState& state = session_.state();
    scratch_ = std::make_unique<ScratchReplay>(state.lvData, state.cbPlayers);
    player_ = -1; // another record has other players and markers; the kind filter stays
    only_.reset();
    rebuildRows();
    return true;
}

void EventRows::setFilter(int playerIndex, std::optional<EventKind> kind) {
    sync();
    player_ =
        playerIndex >= 0 && playerIndex < session_.state().cbPlayers.size() ? playerIndex : -1;
    kind_ = kind;
    rebuildRows();
}

void EventRows::setOnlyEvents(std::optional<std::vector<int32_t>> events) {
    sync();
    only_ = std::move(events);
    rebuildRows();
}

void EventRows::ensureKinds() {
    if (static_cast<int32_t>(kinds_.size()) == count_)
        return;
    kinds_.resize(static_cast<size_t>(count_));
    const EventList& events = session_.state().lvData;
    for (int32_t i = 0; i < count_; ++i)
        kinds_[static_cast<size_t>(i)] = eventKindOf(events.item(first_ + i).caption);
}

void EventRows::ensurePlayers() {
    if (static_cast<int32_t>(players_.size()) == count_)
        return;
    players_.assign(static_cast<size_t>(count_), EventPlayers{-1, -1});
    scratch_->reset(session_.initialWorld());
    for (int32_t i = 0; i < count_; ++i) {
        // Worlds taken on the way make the sentences of any later block quick to reach.
        const int32_t event = first_ + i;
        if (wantsOwnCopy(event))
            ownCopies_.try_emplace(event, scratch_->world());
        scratch_->step(nullptr, &players_[static_cast<size_t>(i)]);
    }
}

void EventRows::rebuildRows() {
    filtered_ = player_ >= 0 || kind_.has_value() || only_.has_value();
    rows_.clear();
    if (!filtered_)
        return;
    if (kind_)
        ensureKinds();
    if (player_ >= 0)
        ensurePlayers();
    auto consider = [&](int32_t i) {
        const size_t k = static_cast<size_t>(i);
        if (kind_ && kinds_[k] != *kind_)
            return;
        if (player_ >= 0 && players_[k][0] != player_ && players_[k][1] != player_)
            return;
        rows_.push_back(first_ + i);
    };
    if (!only_) {
        for (int32_t i = 0; i < count_; ++i)
            consider(i);
        return;
    }
    for (const int32_t event : *only_)
        if (event >= first_ && event - first_ < count_ && (rows_.empty() || rows_.back() < event))
            consider(event - first_);
}

int32_t EventRows::rowCount() const {
    return filtered_ ? static_cast<int32_t>(rows_.size()) : count_;
}

int32_t EventRows::eventAt(int32_t row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    const int32_t event = filtered_ ? rows_[static_cast<size_t>(row)] : first_ + row;
    // The session may be loading another record whose list is shorter.
    return event < session_.state().lvData.size() ? event : -1;
}

int32_t EventRows::rowAtOrBefore(int32_t eventIndex) const {
    if (eventIndex < first_)
        return -1;
    if (!filtered_)
        return std::min(eventIndex - first_, count_ - 1);
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), eventIndex);
    return static_cast<int32_t>(it - rows_.begin()) - 1;
}

int32_t EventRows::rowOf(int32_t eventIndex) const {
    const int32_t row = rowAtOrBefore(eventIndex);
    return row >= 0 && eventAt(row) == eventIndex ? row : -1;
}

QString EventRows::timeText(int32_t row) const {
    const int32_t event = eventAt(row);
    return event < 0 ? QString() : eventTimeLabel(session_.state().lvData.item(event).subItem(0));
}

QString EventRows::kindText(int32_t row) const {
    const int32_t event = eventAt(row);
    if (event < 0)
        return QString();
    const EventItem item = session_.state().lvData.item(event);
    const EventKind kind = eventKindOf(item.caption);
    return kind == EventKind::Other ? item.captionText() : eventKindName(kind);
}

QString EventRows::sentence(int32_t row) {
    const int32_t event = eventAt(row);
    if (event < 0)
        return QString();
    const std::vector<QString>& sentences = block(event / kBlock);
    const size_t offset = static_cast<size_t>(event - std::max(first_, event / kBlock * kBlock));
    return offset < sentences.size() ? sentences[offset] : QString();
}

// The world just before `eventIndex` nearest to it among the initial world, the session's
// copies, the session's own world and the list's own copies.
const World& EventRows::nearestWorld(int32_t eventIndex) {
    const World* best = &session_.initialWorld();
    int32_t bestIndex = best->eventIndex;
    auto consider = [&](const World& world) {
        if (world.eventIndex <= eventIndex && world.eventIndex > bestIndex) {
            best = &world;
            bestIndex = world.eventIndex;
        }
    };
    int32_t found = 0;
    const SnapshotCache::Snapshot* snapshot =
        session_.snapshotsEnabled() ? session_.snapshots().nearest(eventIndex, &found) : nullptr;
    if (snapshot && snapshot->builtLastEventTime == session_.initialWorld().lastEventTime)
        consider(snapshot->world);
    consider(session_.state().world);
    auto own = ownCopies_.upper_bound(eventIndex);
    if (own != ownCopies_.begin())
        consider(std::prev(own)->second);
    return *best;
}

// A copy of the list's own at the start of a stride of blocks, unless the session keeps one
// within a stride before it: the session's copies, taken as the replay goes, serve as well.
bool EventRows::wantsOwnCopy(int32_t event) const {
    if (event % kBlock != 0 || (event / kBlock) % copyStride_ != 0)
        return false;
    int32_t found = 0;
    const SnapshotCache::Snapshot* snapshot =
        session_.snapshotsEnabled() ? session_.snapshots().nearest(event, &found) : nullptr;
    return !snapshot || snapshot->builtLastEventTime != session_.initialWorld().lastEventTime ||
           event - found >= copyStride_ * kBlock;
}

const std::vector<QString>& EventRows::block(int32_t blockIndex) {
    sync();
    if (const auto it = blocks_.find(blockIndex); it != blocks_.end()) {
        it->second.lastUse = ++uses_;
        return it->second.sentences;
    }
    if (blocks_.size() >= kMaxBlocks)
        blocks_.erase(
            std::min_element(blocks_.begin(), blocks_.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            }));
    const int32_t start = std::max(first_, blockIndex * kBlock);
    const int32_t end = std::min(first_ + count_, (blockIndex + 1) * kBlock);
    SentenceBlock& kept = blocks_[blockIndex];
    kept.lastUse = ++uses_;
    std::vector<QString>& sentences = kept.sentences;
    if (start >= end)
        return sentences;
    scratch_->reset(nearestWorld(start));
    while (scratch_->world().eventIndex < start) {
        const int32_t event = scratch_->world().eventIndex;
        if (wantsOwnCopy(event))
            ownCopies_.try_emplace(event, scratch_->world());
        scratch_->step(nullptr);
    }
    sentences.reserve(static_cast<size_t>(end - start));
    QStringList said;
    while (scratch_->world().eventIndex < end) {
        said.clear();
        scratch_->step(&said);
        sentences.push_back(said.join(QLatin1Char(' ')));
    }
    return sentences;
}

} // namespace kx
