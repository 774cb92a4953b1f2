#pragma once

#include "editor/map_editor.h"
#include "editor/map_file.h"
#include "editor/map_history.h"
#include "widgets/qt_user_messages.h"

#include <QDialog>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class QUndoStack;

namespace kx {

class DescriptionEdit;
class ElidedLabel;
class EditorGrid;
class PaletteImage;

// The map editor window (FCreate): the terrain palette, the map's size, name, author,
// description and game settings, the unit to place, and the map grid painted by clicking and
// dragging, filled (Shift+click or the fill tool) or painted by rectangles (Ctrl+drag). Maps
// are opened from files (Ctrl+O); every edit is a step that can be undone (Ctrl+Z) and
// redone (Ctrl+Shift+Z, Ctrl+Y). The preview shows the map as the replay draws it. Closing
// only hides it, so the map and the texts stay for the next opening; unsaved changes are
// asked about before they could be lost. The map file goes into the process's current
// directory; the status line below says where.
class TFCreate : public QDialog {
    Q_OBJECT
  public:
    explicit TFCreate(QWidget* parent = nullptr);
    ~TFCreate() override;

    const MapEditor& editor() const { return editor_; }
    // The texts as they go into the map file.
    MapTexts mapTexts() const;
    // Replaces the message boxes (tests record them instead); nullptr restores the boxes.
    void setMessages(UserMessages* messages);
    // Replaces the file dialog of "Otevřít mapu…" (tests give a path or an empty text).
    void setMapFileChooser(std::function<QString()> chooser);

    // Reads a map file into the window; a file that is refused leaves everything as it was
    // and says why. Returns whether the map was opened.
    bool openMap(const QString& path);
    // Whether the map or its texts changed since it was started, opened or saved.
    bool hasUnsavedChanges();
    QUndoStack* undoStack() const { return undoStack_; }

    // Esc, "Zavřít" and the title bar: unsaved changes are asked about first.
    void reject() override;

  private:
    QGroupBox* buildTerrainGroup();
    QGroupBox* buildMapGroup();
    QGroupBox* buildSettingsGroup();
    QGroupBox* buildUnitsGroup();
    QWidget* buildMenus();
    QWidget* buildToolRow();

    void Image1Click(int tag);
    void cbXChange();
    void edUnitChange();
    void dgMapSelectCell(int col, int row);
    void Button1Click();
    void Button2Click();
    void openMapClick();

    // Saves as "Uložit" does; returns whether the map was written.
    bool saveMap();
    // Asks about unsaved changes before they would be lost; returns whether to go on.
    bool mayReplaceDrawing(const QString& question);

    void strokeStarted(bool rectangle);
    void rectangleDragged(int col1, int row1, int col2, int row2);
    void strokeFinished();
    void fillRequested(int col, int row);
    // Edited texts that differ from the last step become a step of their own.
    void commitTexts();
    void push(MapEdit edit);
    // Puts an undo step's state into the editor and the controls.
    void applyState(const MapState& state);
    void setTexts(const MapTexts& texts);
    void showSizeInLists();
    void updateTitle();

    bool eventFilter(QObject* watched, QEvent* event) override;

    MapEditor editor_;
    QtUserMessages boxes_;
    UserMessages* messages_;
    std::function<QString()> chooseMapFile_;
    QUndoStack* undoStack_ = nullptr;
    MapEditRecorder stroke_;
    int strokeCells_ = 0; // cells painted by the current stroke
    MapTexts committedTexts_;
    QString fileName_; // the map file last opened or saved, empty for a new map

    // Controls, named as the window's layout names them.
    std::array<PaletteImage*, 4> images_{};
    QLabel* lbType_ = nullptr;
    QComboBox* cbX_ = nullptr;
    QComboBox* cbY_ = nullptr;
    QLineEdit* edName_ = nullptr;
    QLineEdit* edAuthor_ = nullptr;
    DescriptionEdit* mPopis_ = nullptr;
    QLineEdit* edSpeed_ = nullptr;
    QLineEdit* edLimit_ = nullptr;
    QLineEdit* edMinE_ = nullptr;
    QLineEdit* edMaxE_ = nullptr;
    QComboBox* cbUnit_ = nullptr;
    QLineEdit* edUnit_ = nullptr;
    QPushButton* Button1_ = nullptr;
    QPushButton* Button2_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QToolButton* tbFill_ = nullptr;
    QCheckBox* cbPreview_ = nullptr;
    QScrollArea* mapArea_ = nullptr;
    EditorGrid* dgMap_ = nullptr;
    ElidedLabel* lbStatus_ = nullptr; // where the last save went
    // The size lists' items of the map shown, to go back to when a change is declined.
    int shownX_ = 0;
    int shownY_ = 0;
};

} // namespace kx
