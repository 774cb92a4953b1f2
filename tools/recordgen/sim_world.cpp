#include "sim_world.h"

#include <algorithm>

namespace kx {

CellLists::CellLists(int cells, int lists)
    : lists_(static_cast<size_t>(lists)), listOf_(static_cast<size_t>(cells), -1),
      slotOf_(static_cast<size_t>(cells), -1) {}

void CellLists::insert(int list, int cell) {
    const auto c = static_cast<size_t>(cell);
    if (listOf_[c] == list)
        return;
    erase(cell);
    auto& cells = lists_[static_cast<size_t>(list)];
    listOf_[c] = list;
    slotOf_[c] = static_cast<int>(cells.size());
    cells.push_back(cell);
}

void CellLists::erase(int cell) {
    const auto c = static_cast<size_t>(cell);
    if (listOf_[c] < 0)
        return;
    auto& cells = lists_[static_cast<size_t>(listOf_[c])];
    const int last = cells.back();
    cells[static_cast<size_t>(slotOf_[c])] = last;
    slotOf_[static_cast<size_t>(last)] = slotOf_[c];
    cells.pop_back();
    listOf_[c] = -1;
    slotOf_[c] = -1;
}

void CellLists::clear(int list) {
    auto& cells = lists_[static_cast<size_t>(list)];
    for (const int cell : cells) {
        listOf_[static_cast<size_t>(cell)] = -1;
        slotOf_[static_cast<size_t>(cell)] = -1;
    }
    cells.clear();
}

SimWorld::SimWorld(int columns, int rows, int players)
    : columns_(columns), rows_(rows), cells_(static_cast<size_t>(columns) * rows),
      players_(static_cast<size_t>(players)), owned_(columns * rows, players),
      withUnits_(columns * rows, players) {}

void SimWorld::placeHq(int player, int team, int cell) {
    Player& p = players_[static_cast<size_t>(player)];
    p.hq = cell;
    p.team = team;
    if (!p.alive)
        living_.push_back(player);
    p.alive = true;
    cells_[static_cast<size_t>(cell)].owner = player;
    owned_.insert(player, cell);
}

void SimWorld::addUnits(int cell, int kind, int count) {
    Cell& c = cells_[static_cast<size_t>(cell)];
    if (count <= 0 || c.owner < 0)
        return;
    if (c.count == 0)
        c.kind = kind;
    c.count += count;
    withUnits_.insert(c.owner, cell);
}

void SimWorld::removeUnits(int cell, int count) {
    Cell& c = cells_[static_cast<size_t>(cell)];
    c.count -= std::min(count, c.count);
    if (c.count == 0) {
        c.kind = 0;
        withUnits_.erase(cell);
    }
}

void SimWorld::release(int cell) {
    Cell& c = cells_[static_cast<size_t>(cell)];
    c.owner = -1;
    c.count = 0;
    c.kind = 0;
    owned_.erase(cell);
    withUnits_.erase(cell);
}

void SimWorld::conquer(int cell, int player, int kind, int count) {
    release(cell);
    Cell& c = cells_[static_cast<size_t>(cell)];
    c.owner = player;
    owned_.insert(player, cell);
    addUnits(cell, kind, count);
}

void SimWorld::destroyPlayer(int player) {
    Player& p = players_[static_cast<size_t>(player)];
    if (!p.alive)
        return;
    const std::vector<int> cells = owned_.of(player);
    for (const int cell : cells)
        release(cell);
    p.alive = false;
    living_.erase(std::find(living_.begin(), living_.end(), player));
}

} // namespace kx
