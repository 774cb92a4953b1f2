#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kx {

// Per-player lists of cells in which each cell stands in at most one list; insertion and
// removal are O(1), and the order of a list depends only on the calls made.
class CellLists {
  public:
    CellLists(int cells, int lists);

    const std::vector<int>& of(int list) const { return lists_[static_cast<size_t>(list)]; }
    // Moves the cell into the list (out of any other).
    void insert(int list, int cell);
    void erase(int cell);
    void clear(int list);

  private:
    std::vector<std::vector<int>> lists_;
    std::vector<int> listOf_; // per cell: its list, or -1
    std::vector<int> slotOf_; // per cell: its position in that list
};

// The generator's picture of the world: terrain, owners, and which units stand where, kept so
// that each generated event is possible in the world the earlier events made. Cells are
// numbered y * columns + x. Units stand only on cells that a player holds.
class SimWorld {
  public:
    SimWorld(int columns, int rows, int players);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int cellCount() const { return columns_ * rows_; }
    int cellX(int cell) const { return cell % columns_; }
    int cellY(int cell) const { return cell / columns_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < columns_ && y < rows_; }
    int cellAt(int x, int y) const { return y * columns_ + x; }

    int terrain(int cell) const { return cells_[static_cast<size_t>(cell)].terrain; }
    bool passable(int cell) const { return terrain(cell) > 0; }
    void setTerrain(int cell, int terrain) { cells_[static_cast<size_t>(cell)].terrain = terrain; }

    int owner(int cell) const { return cells_[static_cast<size_t>(cell)].owner; }
    int unitCount(int cell) const { return cells_[static_cast<size_t>(cell)].count; }
    int unitKind(int cell) const { return cells_[static_cast<size_t>(cell)].kind; }

    int hq(int player) const { return players_[static_cast<size_t>(player)].hq; }
    int team(int player) const { return players_[static_cast<size_t>(player)].team; }
    bool alive(int player) const { return players_[static_cast<size_t>(player)].alive; }
    bool isHq(int cell) const { return owner(cell) >= 0 && hq(owner(cell)) == cell; }

    const std::vector<int>& livingPlayers() const { return living_; }
    const std::vector<int>& ownedCells(int player) const { return owned_.of(player); }
    const std::vector<int>& unitCells(int player) const { return withUnits_.of(player); }

    void placeHq(int player, int team, int cell);
    // Units join a cell of their owner; a cell that holds units keeps its kind.
    void addUnits(int cell, int kind, int count);
    // At most the units present leave; the cell is empty when none are left.
    void removeUnits(int cell, int count);
    // The cell passes to the player with `count` units of `kind` (count > 0).
    void conquer(int cell, int player, int kind, int count);
    // The player's HQ fell: every cell of the player becomes free land without units.
    void destroyPlayer(int player);

  private:
    struct Cell {
        int terrain = -1;
        int owner = -1;
        int count = 0;
        int kind = 0;
    };
    struct Player {
        int hq = -1;
        int team = 0;
        bool alive = false;
    };
    void release(int cell);

    int columns_;
    int rows_;
    std::vector<Cell> cells_;
    std::vector<Player> players_;
    std::vector<int> living_;
    CellLists owned_;
    CellLists withUnits_;
};

} // namespace kx
