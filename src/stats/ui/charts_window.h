#pragma once

#include "stats/ui/figure_worker.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kx {

class FigureChart;
class ReplaySession;
class UserMessages;

// The charts window: the figures of the whole world over game time for the chosen players
// (nectar, moves, territory, hourly production) and the CSV exports. It shows the session's
// current record whenever it is shown; the figures come from one quiet replay on a worker
// thread, cached until the record changes.
class TFCharts : public QWidget {
  public:
    // The figures come from `worker` when given (shared with the timeline), otherwise from a
    // worker of the window's own.
    explicit TFCharts(ReplaySession& session, QWidget* parent = nullptr,
                      FigureWorker* worker = nullptr);
    ~TFCharts() override;

    // Asks for a file name to save to; empty when the user cancels. The default asks with
    // QFileDialog.
    using SaveFileChooser = std::function<QString(const QString& caption, const QString& name)>;
    void setSaveFileChooser(SaveFileChooser chooser) { chooser_ = std::move(chooser); }
    // Where failures are shown; message boxes over this window unless set.
    void setMessages(UserMessages* messages) { messages_ = messages; }

    // Looks at the session's record again: shows cached figures, or starts computing them.
    void refresh();
    bool computing() const { return worker_->computing(); }
    const FigureCache& cache() const { return worker_->cache(); }

    // The players checked in the list, in player-index order.
    std::vector<int> chosenPlayers() const;

    // Write the CSV files; on failure show a message and return false.
    bool exportFigures(const QString& path);
    bool exportSummary(const QString& path);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showComputing();
    void jobFinished();
    void showFigures();
    void updateChart();
    bool writeFile(const QString& path, const QByteArray& bytes);
    void exportClicked(bool summary);
    void showError(const QString& text);

    ReplaySession& session_;
    FigureWorker* worker_;
    QTimer* progressTimer_;
    SaveFileChooser chooser_;
    UserMessages* messages_ = nullptr;

    QListWidget* lbChartPlayers_;
    QComboBox* cbFigure_;
    FigureChart* chart_;
    QProgressBar* pbCharts_;
    QLabel* lbChartStatus_;
    QPushButton* btnExportFigures_;
    QPushButton* btnExportSummary_;
};

} // namespace kx
