#include "map_editor.h"

#include "records/numbers.h"
#include "records/user_messages.h"

#include <algorithm>

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

bool MapEditor::mayDiscardDrawing(UserMessages& messages) const {
    return !drawingChanged ||
           messages.askYesNo(QString::fromUtf8("Změna velikosti mapy"),
                             QString::fromUtf8("Nakreslená mapa nebyla od poslední změny uložena "
                                               "a změnou velikosti se smaže. Přesto změnit "
                                               "velikost?"),
                             false);
}

void MapEditor::image1Click(int tag) {
    paintTerrain = tag >= kEditorNormal && tag <= kEditorRock ? tag : kEditorImpassable;
    lbType = terrainCaption(paintTerrain);
}

void MapEditor::edUnitChange(QStringView text) {
    if (const auto count = parseDecimalInt(text))
        paintCount = *count;
}

bool MapEditor::dgMapSelectCell(int col, int row, int unitItem) {
    const int x = col - 1;
    const int y = row - 1;
    if (!editAllocated || !editFields.contains(x, y))
        return false;
    const bool units =
        unitItem >= 1 && unitItem <= 6 && paintCount > 0 && paintTerrain != kEditorImpassable;
    const int32_t field = units ? paintTerrain + kEditorUnitsFlag : paintTerrain;
    const int32_t unit = units ? wrapAdd(unitItem, wrapMul(paintCount, 10)) : 0;
    if (editFields(x, y) != field || editUnits(x, y) != unit)
        drawingChanged = true;
    editFields(x, y) = field;
    editUnits(x, y) = unit;
    return true;
}

int MapEditor::cellIcon(int col, int row) const {
    const int x = col - 1;
    const int y = row - 1;
    return editAllocated && editFields.contains(x, y) ? editorIcon(editFields(x, y)) : 0;
}

} // namespace kx
