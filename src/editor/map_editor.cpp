#include "map_editor.h"

#include "records/numbers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kx {

int editorIcon(int32_t code) {
    switch (code) {
    case 1:
    case 2:
    case 3:
        return code;
    case 6:
    case 7:
    case 8:
        return code - 2;
    default:
        return 0;
    }
}

QString terrainCaption(int32_t paintTerrain) {
    // The editor's terrain codes are the world's; anything else cannot be entered.
    const QString name = terrainName(paintTerrain);
    return name.isEmpty() ? QString::fromUtf8("nedobytné") : name;
}

MapEditor::MapEditor() {
    allocateMap(kMaxMapSide, kMaxMapSide);
}

void MapEditor::allocateMap(int width, int height) {
    width = std::clamp(width, kMinMapSide, kMaxMapSide);
    height = std::clamp(height, kMinMapSide, kMaxMapSide);
    editFields = Grid(width, height, kEditorNormal);
    editUnits = Grid(width, height, 0);
    editAllocated = true;
    drawingChanged = false;
}

void MapEditor::cbXChange(int xItem, int yItem) {
    allocateMap(xItem + kMinMapSide, yItem + kMinMapSide);
}

void MapEditor::image1Click(int tag) {
    paintTerrain = tag >= kEditorNormal && tag <= kEditorRock ? tag : kEditorImpassable;
    lbType = terrainCaption(paintTerrain);
}

void MapEditor::edUnitChange(QStringView text) {
    if (const auto count = parseDecimalInt(text))
        paintCount = *count;
}

bool MapEditor::paintField(int x, int y, int unitItem) {
    const bool units =
        unitItem >= 1 && unitItem <= 6 && paintCount > 0 && paintTerrain != kEditorImpassable;
    const int32_t field = units ? paintTerrain + kEditorUnitsFlag : paintTerrain;
    const int32_t unit = units ? wrapAdd(unitItem, wrapMul(paintCount, 10)) : 0;
    if (editFields(x, y) == field && editUnits(x, y) == unit)
        return false;
    editFields(x, y) = field;
    editUnits(x, y) = unit;
    drawingChanged = true;
    return true;
}

bool MapEditor::dgMapSelectCell(int col, int row, int unitItem) {
    const int x = col - 1;
    const int y = row - 1;
    if (!editAllocated || !editFields.contains(x, y))
        return false;
    paintField(x, y, unitItem);
    return true;
}

bool MapEditor::fillArea(int col, int row, int unitItem) {
    const int x0 = col - 1;
    const int y0 = row - 1;
    if (!editAllocated || !editFields.contains(x0, y0))
        return false;
    // The terrain a field shows, the units flag taken off.
    const auto terrain = [this](int x, int y) {
        const int32_t code = editFields(x, y);
        return code > kEditorUnitsFlag ? code - kEditorUnitsFlag : code;
    };
    const int32_t area = terrain(x0, y0);
    // The area is found first, then painted: painting it with its own terrain must not stop
    // the search half-way.
    Grid seen(width(), height(), 0);
    std::vector<std::pair<int, int>> pending{{x0, y0}};
    std::vector<std::pair<int, int>> cells;
    seen(x0, y0) = 1;
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        cells.emplace_back(x, y);
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (editFields.contains(nx, ny) && !seen(nx, ny) && terrain(nx, ny) == area) {
                seen(nx, ny) = 1;
                pending.emplace_back(nx, ny);
            }
        }
    }
    bool changed = false;
    for (const auto& [x, y] : cells)
        changed = paintField(x, y, unitItem) || changed;
    return changed;
}

bool MapEditor::paintRectangle(int col1, int row1, int col2, int row2, int unitItem) {
    if (!editAllocated)
        return false;
    const int left = std::max(std::min(col1, col2) - 1, 0);
    const int right = std::min(std::max(col1, col2) - 1, width() - 1);
    const int top = std::max(std::min(row1, row2) - 1, 0);
    const int bottom = std::min(std::max(row1, row2) - 1, height() - 1);
    bool changed = false;
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y)
            changed = paintField(x, y, unitItem) || changed;
    return changed;
}

void MapEditor::loadDrawing(Grid fields, Grid units) {
    editFields = std::move(fields);
    editUnits = std::move(units);
    editAllocated = true;
    drawingChanged = false;
}

int MapEditor::cellIcon(int col, int row) const {
    const int x = col - 1;
    const int y = row - 1;
    return editAllocated && editFields.contains(x, y) ? editorIcon(editFields(x, y)) : 0;
}

} // namespace kx
