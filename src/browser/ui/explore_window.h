#pragma once

#include "widgets/qt_user_messages.h"

#include <QDialog>
#include <QString>

#include <functional>

class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QSettings;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class ElidedLabel;
class TCDirectoryOutline;
struct RecordSummary;

// The record browser: a directory tree, the record files of the directory double-clicked in
// it, and the summary of the selected record. "&Otevřít" hands the record to the viewer.
// Closing only hides the window, which keeps its tree, list and summary.
class TFExplore : public QDialog {
    Q_OBJECT
  public:
    explicit TFExplore(QWidget* parent = nullptr);

    // Replaces the message boxes (tests record them instead).
    void setMessages(UserMessages* messages);
    // Where "&Otevřít" hands a record over: the main window's loader.
    void setRecordOpener(std::function<void(const QString&)> opener) {
        opener_ = std::move(opener);
    }

    // Where the last listed directory is kept between runs: once set, the tree opens there
    // and the browser lists it when it is first shown. The settings must outlive the window.
    void setFolderMemory(QSettings* settings);

    bool listReady() const { return listReady_; }
    // The directory whose records the list shows.
    const QString& listedDirectory() const { return listedDirectory_; }

    void cdoDblClick();
    void lvMapsSelectItem(QTreeWidgetItem* item, bool selected);
    void Button2Click();
    void Button1Click();
    void FillRecordList();
    // Opens the tree at `folder` and lists its records, as a double click on it does; false
    // when the folder cannot be shown.
    bool showFolder(const QString& folder);
    void ShowRecordSummary(const QString& path);

    // Shows only the rows that match the text of the filter box; a selected row that it hides
    // is deselected and its summary cleared.
    void applyFilter();

    // "Obnovit" (F5): reads the tree's levels and the listed directory's records again,
    // keeping the selected directory and record where they still exist.
    void btnRefreshClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* buildInfo();
    void fillList(const QString& directory);
    QString selectedFileName() const;
    void showSummary(const RecordSummary& summary);
    QString pathOf(const QTreeWidgetItem* row) const;

    QtUserMessages boxes_;
    UserMessages* messages_;
    std::function<void(const QString&)> opener_;
    bool listReady_ = false;
    QString listedDirectory_;
    QSettings* folderMemory_ = nullptr;
    bool listRememberedFolder_ = false;

    TCDirectoryOutline* cdo_ = nullptr;
    QLineEdit* edFilter_ = nullptr;
    QTreeWidget* lvMaps_ = nullptr;
    QGroupBox* gbInfo_ = nullptr;
    ElidedLabel* lbMN_ = nullptr;
    ElidedLabel* lbMR_ = nullptr;
    ElidedLabel* lbMS_ = nullptr;
    ElidedLabel* lbML_ = nullptr;
    ElidedLabel* lbTR_ = nullptr;
    ElidedLabel* lbTS_ = nullptr;
    QListWidget* lbPl_ = nullptr;
    QPushButton* btnRefresh_ = nullptr;
    QPushButton* Button2_ = nullptr;
    QPushButton* Button1_ = nullptr;
};

} // namespace kx
