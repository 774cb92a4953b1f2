#pragma once

#include "editor/map_history.h"

#include <QUndoCommand>

#include <functional>

namespace kx {

// One step of the editor's undo stack. The edit is done when it is pushed, so the first redo
// does nothing; later ones, and undo, put the state after or before it back through `apply`.
class MapEditCommand : public QUndoCommand {
  public:
    MapEditCommand(MapEdit edit, std::function<void(const MapState&)> apply)
        : QUndoCommand(edit.name), edit_(std::move(edit)), apply_(std::move(apply)) {}

    void undo() override { apply_(edit_.before); }
    void redo() override {
        if (pushed_)
            apply_(edit_.after);
        pushed_ = true;
    }

  private:
    MapEdit edit_;
    std::function<void(const MapState&)> apply_;
    bool pushed_ = false;
};

} // namespace kx
