#pragma once

#include "library/indexer.h"
#include "library/library.h"
#include "stats/world_figures.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTableWidget;
class QThread;
class QTimer;

namespace kx {

class FigureChart;
class RecordTableModel;
class UserMessages;

// "Knihovna záznamů": the record library's window. A search row (player, opponent, team, map,
// dates, result) over the indexed records, a players tab with every player's career, and the
// folders: adding one indexes it on a worker thread with progress and cancel, the window
// staying usable. A double click opens the record in the viewer.
class TFLibrary : public QWidget {
  public:
    explicit TFLibrary(QWidget* parent = nullptr);
    ~TFLibrary() override;

    void setRecordOpener(std::function<void(const QString&)> opener) {
        opener_ = std::move(opener);
    }
    // Where failures are shown; message boxes over this window unless set.
    void setMessages(UserMessages* messages) { messages_ = messages; }
    // Shows a record's folder in the record browser ("Ukázat ve složce").
    void setFolderShower(std::function<void(const QString&)> shower) {
        folderShower_ = std::move(shower);
    }
    // Asks for a folder to add; empty when the user cancels. QFileDialog unless set.
    void setFolderChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

    // Opens the library at `location` (a file or a postgresql:// URL; empty for the user's
    // library file). Shows why not and keeps the library open before.
    bool openLibrary(const QString& location);
    Library* library() const { return library_.get(); }

    // Adds the folder and indexes it; reindex() indexes every folder of the library again.
    void addFolder(const QString& folder);
    void reindex();
    void cancelIndexing();
    bool indexing() const { return job_ != nullptr; }

    // Runs the search row; false (and a message) for a date that cannot be read.
    bool search();
    void showCareers();
    const RecordTableModel& results() const { return *model_; }
    // Draws the experience of the player in row `row` of the players tab over their games.
    void showPlayerExperience(int row);
    const FigureChart& experienceChart() const { return *chart_; }
    // The record shown in row `row` of the results as sorted now.
    QString recordAt(int row) const;
    void openRow(int row);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct IndexJob;
    void startIndexing(const QStringList& folders);
    void indexingFinished();
    void showProgress();
    void showError(const QString& text);
    void setStatus();

    std::unique_ptr<Library> library_;
    std::shared_ptr<IndexJob> job_;
    QThread* thread_ = nullptr;
    QTimer* progressTimer_;
    std::function<void(const QString&)> opener_;
    std::function<QString()> chooser_;
    std::function<void(const QString&)> folderShower_;
    UserMessages* messages_ = nullptr;

    QLineEdit* edPlayer_;
    QLineEdit* edOpponent_;
    QComboBox* cbTeam_;
    QLineEdit* edMap_;
    QLineEdit* edSince_;
    QLineEdit* edUntil_;
    QComboBox* cbResult_;
    QSpinBox* sbMinEvents_;
    QSpinBox* sbMaxEvents_;
    QPushButton* btnSearch_;
    QTabWidget* tabs_;
    RecordTableModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* tvRecords_;
    QTableWidget* tvPlayers_;
    FigureChart* chart_;
    WorldFigures experience_; // what the chart draws
    QLineEdit* edLibrary_;
    QPushButton* btnConnect_;
    QPushButton* btnAddFolder_;
    QPushButton* btnReindex_;
    QProgressBar* pbIndex_;
    QPushButton* btnCancelIndex_;
    QLabel* lbLibraryStatus_;
};

} // namespace kx
