#pragma once

#include "editor/map_editor.h"
#include "editor/map_file.h"
#include "widgets/qt_user_messages.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace kx {

class DescriptionEdit;
class ElidedLabel;
class EditorGrid;
class PaletteImage;

// The map editor window (FCreate): the terrain palette, the map's size, name, author,
// description and game settings, the unit to place, and the map grid painted by clicking and
// dragging. Closing only hides it, so the map and the texts stay for the next opening. The
// map file goes into the process's current directory; the status line below says where.
class TFCreate : public QDialog {
    Q_OBJECT
  public:
    explicit TFCreate(QWidget* parent = nullptr);

    const MapEditor& editor() const { return editor_; }
    // The texts as they go into the map file.
    MapTexts mapTexts() const;
    // Replaces the message boxes (tests record them instead); nullptr restores the boxes.
    void setMessages(UserMessages* messages);

  private:
    QGroupBox* buildTerrainGroup();
    QGroupBox* buildMapGroup();
    QGroupBox* buildSettingsGroup();
    QGroupBox* buildUnitsGroup();

    void Image1Click(int tag);
    void cbXChange();
    void edUnitChange();
    void dgMapSelectCell(int col, int row);
    void Button1Click();
    void Button2Click();

    MapEditor editor_;
    QtUserMessages boxes_;
    UserMessages* messages_;

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
    QScrollArea* mapArea_ = nullptr;
    EditorGrid* dgMap_ = nullptr;
    ElidedLabel* lbStatus_ = nullptr; // where the last save went
    // The size lists' items of the map shown, to go back to when a change is declined.
    int shownX_ = 0;
    int shownY_ = 0;
};

} // namespace kx
