#pragma once

#include "stats/world_figures.h"

#include <QColor>
#include <QWidget>

#include <vector>

class QPainter;

namespace kx {

// The colour of a player's line: shades of the map's team colours (yellow for louka, blue
// for les), a different shade for each player of a team.
QColor playerColour(const WorldFigures& figures, int player);

// What the chart shows: one figure of the chosen players over game hours.
struct ChartView {
    const WorldFigures* figures = nullptr;
    Figure figure = Figure::Nectar;
    std::vector<int> players;
};

// Draws the chart into `area`: axes with value and hour labels, one line per player and a
// legend with the players' entries in their colours. Works on any paint device.
void paintFigureChart(QPainter& painter, const QRect& area, const ChartView& view);

// A widget that paints the chart.
class FigureChart : public QWidget {
  public:
    explicit FigureChart(QWidget* parent = nullptr);
    void setView(const ChartView& view);
    const ChartView& view() const { return view_; }
    QSize minimumSizeHint() const override { return {360, 240}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ChartView view_;
};

} // namespace kx
