#pragma once

#include "records/world.h"

#include <QString>
#include <QStringView>

#include <cstdint>

namespace kx {

// A drawn map has 3 to 20 columns and rows; the size lists offer exactly these.
inline constexpr int kMinMapSide = 3;
inline constexpr int kMaxMapSide = 20;

// Editor field codes: the terrain, plus 5 when units stand on a passable field.
inline constexpr int32_t kEditorNormal = 1;
inline constexpr int32_t kEditorSwamp = 2;
inline constexpr int32_t kEditorRock = 3;
inline constexpr int32_t kEditorImpassable = -1;
inline constexpr int32_t kEditorUnitsFlag = 5;

// The editor's seven pictures: 0 impassable, 1-3 grass, swamp, rock, 4-6 the same with units.
inline constexpr int kEditorIconCount = 7;
int editorIcon(int32_t code);

// The terrain's name as the window's terrain label shows it ("nedobytné" for -1).
QString terrainCaption(int32_t paintTerrain);

// The state of the map editor window: the map being drawn and what a click puts on a cell.
// Cells are addressed as on the grid control: grid column `col` and row `row` show map cell
// (col - 1, row - 1); column and row 0 are the headers.
struct MapEditor {
    Grid editFields;            // editor field codes, [x][y]
    Grid editUnits;             // unit codes, count x 10 + kind; 0 = none
    bool editAllocated = false; // the grids exist
    int32_t paintTerrain = kEditorNormal;
    int32_t paintCount = 0;
    QString lbType = terrainCaption(kEditorNormal);
    // A cell has been painted differently since the map was started or last saved.
    bool drawingChanged = false;

    // A 20 x 20 map of normal ground without units.
    MapEditor();

    int width() const { return editFields.width(); }
    int height() const { return editFields.height(); }
    // The grid control's columns and rows, headers included.
    int columnCount() const { return width() + 1; }
    int rowCount() const { return height() + 1; }

    // A new map of normal ground without units, each side kept within 3..20.
    void allocateMap(int width, int height);

    // A size list changed: item i of either list is a side of i + 3. The drawn map is lost.
    void cbXChange(int xItem, int yItem);

    // A palette picture was clicked: tags 1-3 are the terrains, anything else impassable.
    void image1Click(int tag);

    // The unit count edit changed; text that is no integer leaves the count as it was.
    void edUnitChange(QStringView text);

    // A click on grid cell (col, row) with the unit list at item `unitItem` (0 none,
    // 1-6 the kinds): the cell takes the chosen terrain and, when a kind and a positive count
    // are chosen and the terrain is passable, that many units of that kind; otherwise its
    // units are cleared, so the saved file always holds what the map shows. Header cells and
    // cells outside the map change nothing; returns whether a map cell was painted.
    bool dgMapSelectCell(int col, int row, int unitItem);

    // A fill from grid cell (col, row): that cell and every cell joined to it through
    // neighbours left, right, above or below of the same terrain (units do not count) are
    // painted as a click paints them. Returns whether a cell changed.
    bool fillArea(int col, int row, int unitItem);

    // Paints every map cell of the rectangle with corners at grid cells (col1, row1) and
    // (col2, row2), clipped to the map, as a click paints them. Returns whether a cell changed.
    bool paintRectangle(int col1, int row1, int col2, int row2, int unitItem);

    // Takes a drawing read from a map file (grids of one size within 3..20, editor codes);
    // it counts as unchanged.
    void loadDrawing(Grid fields, Grid units);

    // The picture of grid cell (col, row): blank for header cells and outside the map.
    int cellIcon(int col, int row) const;

  private:
    // Paints map cell (x, y) as a click does; returns whether it changed.
    bool paintField(int x, int y, int unitItem);
};

} // namespace kx
