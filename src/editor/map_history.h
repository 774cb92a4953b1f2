#pragma once

#include "editor/map_file.h"
#include "records/world.h"

#include <QString>

#include <functional>
#include <optional>

namespace kx {

class UserMessages;

// Everything an undo step puts back: the drawing, its size included, and the texts.
struct MapState {
    Grid editFields;
    Grid editUnits;
    MapTexts texts;
};

bool sameState(const MapState& a, const MapState& b);

MapState captureState(const MapEditor& editor, const MapTexts& texts);
// Puts a state's drawing back into the editor; the texts are the window's to put back.
void restoreDrawing(MapEditor& editor, const MapState& state);

// One undoable step: its name as the Edit menu shows it ("Zpět: Vyplnění") and the states
// on either side of it.
struct MapEdit {
    QString name;
    MapState before;
    MapState after;
};

// The names of the steps.
QString editNameClick();     // one cell
QString editNameStroke();    // a drag
QString editNameFill();      // a connected area
QString editNameRectangle(); // a rectangle
QString editNameSize();      // a new size
QString editNameParameter(); // a text or setting

// Records one step around an edit: begin() takes the state before it, finish() the state
// after it and gives the step, or nothing when the edit changed nothing. A drag is one step
// because it is recorded from the press to the release.
class MapEditRecorder {
  public:
    void begin(const QString& name, const MapEditor& editor, const MapTexts& texts);
    bool active() const { return before_.has_value(); }
    // The state before the edit while one is recorded.
    const std::optional<MapState>& before() const { return before_; }
    std::optional<MapEdit> finish(const MapEditor& editor, const MapTexts& texts);

  private:
    QString name_;
    std::optional<MapState> before_;
};

// Before the drawing is replaced (closing, opening another map, a new size): when it has
// unsaved changes asks "Ano" (save first), "Ne" (let them go) or "Zrušit". Returns whether to
// go on: unchanged, "Ne", or "Ano" and `save` succeeded.
bool mayReplaceDrawing(bool unsaved, const QString& question, UserMessages& messages,
                       const std::function<bool()>& save);

// The questions for closing, opening and resizing.
QString closeQuestion();
QString openQuestion();
QString resizeQuestion();

} // namespace kx
