#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kx {

// Bounds that keep a hostile header from making the program allocate without limit. A field
// code holds the owner in two decimal digits, so a world has at most 99 players.
inline constexpr int kMaxWorldSide = 1000;
inline constexpr int kMaxPlayers = 99;

// A width x height grid of integers indexed [x][y] (column, row), stored in one block.
class Grid {
  public:
    Grid() = default;
    Grid(int width, int height, int32_t fill)
        : width_(width), height_(height),
          cells_(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

    // Every cell `fill`, in the memory the grid already has where it fits (a much smaller
    // grid gets memory of its own size).
    void reset(int width, int height, int32_t fill) {
        width_ = width;
        height_ = height;
        const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height);
        if (cells_.capacity() > 2 * size)
            cells_ = std::vector<int32_t>(size, fill);
        else
            cells_.assign(size, fill);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    int32_t& operator()(int x, int y) { return cells_[index(x, y)]; }
    int32_t operator()(int x, int y) const { return cells_[index(x, y)]; }

    // Column x as a contiguous range of height() integers.
    const int32_t* column(int x) const { return cells_.data() + index(x, 0); }

  private:
    size_t index(int x, int y) const {
        return static_cast<size_t>(x) * static_cast<size_t>(height_) + static_cast<size_t>(y);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<int32_t> cells_;
};

// The eight integers of a player record.
enum PlayerItem : int { Index = 0, Moves, Nectar, Team, HqX, HqY, Kills, Wins };
using PlayerRecord = std::array<int32_t, 8>;

inline constexpr int32_t kTeamLouka = 0;
inline constexpr int32_t kTeamLes = 1;
inline constexpr int32_t kTeamDestroyed = -1;

// Field code = owner x 100 + class x 10 + units flag x 5 + terrain, or -1 (impassable).
inline constexpr int32_t kImpassable = -1;
inline int32_t fieldOwner(int32_t code) {
    return (code % 10000) / 100;
}
inline int32_t fieldClass(int32_t code) {
    return (code % 100) / 10;
}
inline int32_t fieldTerrain(int32_t code) {
    return code % 5;
}
inline bool fieldIsHq(int32_t code) {
    return code % 100 >= 30;
}

// Unit code = count x 10 + kind.
inline int32_t unitCount(int32_t code) {
    return code / 10;
}
inline int32_t unitKind(int32_t code) {
    return code % 10;
}

// Terrain of a map letter: 'N' normal 1, 'B' swamp 2, 'S' rock 3, anything else -1.
int32_t terrainFromLetter(char letter);

// Czech name of a terrain: 1 "normální", 2 "bažina", 3 "skála", empty for anything else.
QString terrainName(int32_t terrain);

// Hourly nectar yield of a terrain: 12, 7, 5, and 0 for anything else.
int32_t terrainYield(int32_t terrain);

// The field codes of a world, with a running tally for every owner (1 to kMaxPlayers): how
// many fields it holds and what they yield an hour. The tally follows every change of a code,
// so the hourly recounts and the results never visit the whole map. Codes are written through
// set() or a Ref, never through a plain reference.
class FieldGrid {
  public:
    // A writable field: reads its code and writes through set(), as an int32_t& would.
    class Ref {
      public:
        Ref(FieldGrid& grid, int x, int y) : grid_(grid), x_(x), y_(y) {}
        Ref(const Ref&) = default;
        operator int32_t() const { return grid_.grid_(x_, y_); }
        Ref& operator=(int32_t code) {
            grid_.set(x_, y_, code);
            return *this;
        }
        Ref& operator=(const Ref& other) { return *this = static_cast<int32_t>(other); }

      private:
        FieldGrid& grid_;
        int x_;
        int y_;
    };

    // Every field `fill`, in the memory the grid already has where it is enough.
    void reset(int width, int height, int32_t fill) {
        grid_.reset(width, height, fill);
        fields_ = {};
        yield_ = {};
        count(fill, static_cast<int32_t>(int64_t{width} * height));
    }

    int width() const { return grid_.width(); }
    int height() const { return grid_.height(); }
    bool contains(int x, int y) const { return grid_.contains(x, y); }
    int32_t operator()(int x, int y) const { return grid_(x, y); }
    Ref operator()(int x, int y) { return Ref(*this, x, y); }
    const int32_t* column(int x) const { return grid_.column(x); }
    const Grid& grid() const { return grid_; }

    void set(int x, int y, int32_t code) {
        int32_t& cell = grid_(x, y);
        count(cell, -1);
        cell = code;
        count(code, 1);
    }

    // Fields held by `owner` and their hourly yield (wrapped to 32 bits as the recount adds);
    // 0 for an owner outside 1 to kMaxPlayers.
    int32_t ownedFields(int owner) const { return inTally(owner) ? fields_[owner] : 0; }
    int32_t ownedYield(int owner) const { return inTally(owner) ? yield_[owner] : 0; }

  private:
    static bool inTally(int owner) { return owner >= 1 && owner <= kMaxPlayers; }
    // Adds `times` fields of `code` to the tally (a negative number takes them away).
    void count(int32_t code, int32_t times) {
        const int owner = fieldOwner(code);
        if (!inTally(owner))
            return;
        fields_[owner] += times;
        // Unsigned: the yield wraps as the recount's sum does.
        yield_[owner] = static_cast<int32_t>(
            static_cast<uint32_t>(yield_[owner]) +
            static_cast<uint32_t>(times) * static_cast<uint32_t>(terrainYield(fieldTerrain(code))));
    }

    Grid grid_;
    std::array<int32_t, kMaxPlayers + 1> fields_{};
    std::array<int32_t, kMaxPlayers + 1> yield_{};
};

// The state of one replayed world.
struct World {
    FieldGrid fieldGrid;
    Grid unitGrid;
    std::vector<PlayerRecord> playerTable;
    bool gridAllocated = false;
    int gridColumns = 0;

    int32_t eventIndex = 0;
    int32_t liveDisplay = 1;
    int32_t movesPerHour = 0;
    int32_t lastEventTime = 0; // seconds value of the last event's time stamp
    int64_t lastEventHour = 0; // its calendar hour, which the hourly recounts follow

    int width() const { return fieldGrid.width(); }
    int height() const { return fieldGrid.height(); }
    int playerCount() const { return static_cast<int>(playerTable.size()); }
    bool contains(int x, int y) const { return fieldGrid.contains(x, y); }
    bool hasPlayer(int index) const { return index >= 0 && index < playerCount(); }

    // Replaces the storage: every field -1, every unit code 0, `players` zeroed records.
    // The caller keeps width, height and players within the bounds above.
    void allocateWorld(int width, int height, int players);
};

} // namespace kx
