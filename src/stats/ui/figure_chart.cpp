#include "figure_chart.h"

#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

constexpr QRgb kLouka[] = {0xd4b000, 0xe07b00, 0xb8860b, 0xf0c419, 0xc25e00, 0x9a7d0a};
constexpr QRgb kLes[] = {0x006fd0, 0x00a0a0, 0x3949ab, 0x0097e6, 0x1b4f72, 0x7e57c2};

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double niceStep(double span, int parts) {
    if (span <= 0)
        return 1;
    const double rough = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10 * power;
}

// An hour step a reader counts in: 1, 2, 3, 6, 12 hours or whole days.
int64_t hourStep(int64_t span, int parts) {
    const int64_t rough = std::max<int64_t>(1, (span + parts - 1) / parts);
    for (const int64_t h : {1, 2, 3, 6, 12, 24})
        if (h >= rough)
            return h;
    return (rough + 23) / 24 * 24;
}

// The clock time of game hour `hour`: the time of the row that holds it plus the hours since.
QString hourClock(const WorldFigures& f, int64_t hour) {
    const auto it = std::upper_bound(f.rowHours.begin(), f.rowHours.end(), hour);
    if (it == f.rowHours.begin())
        return QString();
    const size_t row = static_cast<size_t>(it - f.rowHours.begin() - 1);
    const QDateTime start = QDateTime::fromString(QString::fromLatin1(f.rowTimes[row].left(13)),
                                                  QStringLiteral("yyyy-dd-MM-hh"));
    if (!start.isValid())
        return QString();
    return start.addSecs((hour - f.rowHours[row]) * 3600).toString(QStringLiteral("d. M. h:00"));
}

QString figureUnit(Figure figure) {
    switch (figure) {
    case Figure::Territory:
        return QStringLiteral("m2");
    case Figure::Production:
        return QStringLiteral("ml/hod");
    default:
        return QString();
    }
}

} // namespace

QColor playerColour(const WorldFigures& figures, int player) {
    if (player < 0 || player >= figures.playerCount())
        return Qt::gray;
    const bool les = figures.players[static_cast<size_t>(player)].les;
    int rank = 0;
    for (int i = 0; i < player; ++i)
        rank += figures.players[static_cast<size_t>(i)].les == les ? 1 : 0;
    const QColor base(les ? kLes[rank % 6] : kLouka[rank % 6]);
    // Later rounds through the palette are darker, so that no two players look alike.
    return base.darker(100 + 25 * (rank / 6));
}

void paintFigureChart(QPainter& painter, const QRect& area, const ChartView& view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const WorldFigures* f = view.figures;
    const QFontMetrics metrics = painter.fontMetrics();
    std::vector<int> players;
    if (f && f->valid)
        for (const int p : view.players)
            if (p >= 0 && p < f->playerCount())
                players.push_back(p);
    if (!f || players.empty() || f->rowCount() == 0) {
        painter.setPen(Qt::darkGray);
        painter.drawText(area, Qt::AlignCenter,
                         f && f->valid ? QString::fromUtf8("Vyberte hráče.")
                                       : QString::fromUtf8("Žádné údaje."));
        painter.restore();
        return;
    }

    // Value range over the chosen players, always including 0.
    double low = 0;
    double high = 0;
    for (int row = 0; row < f->rowCount(); ++row)
        for (const int p : players) {
            const double v = f->value(row, p, view.figure);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (high == low)
        high = low + 1;
    const double step = std::max(1.0, niceStep(high - low, 6)); // the figures are integers
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;

    const int64_t firstHour = f->rowHours.front();
    const int64_t lastHour = f->rowHours.back() + f->hoursPerRow;

    // Room for the labels and the legend on the right.
    int legendWidth = 0;
    for (const int p : players)
        legendWidth = std::max(legendWidth,
                               metrics.horizontalAdvance(f->players[static_cast<size_t>(p)].entry));
    legendWidth = std::min(legendWidth + 36, area.width() / 3);
    const int valueWidth = std::max(metrics.horizontalAdvance(QString::number(low)),
                                    metrics.horizontalAdvance(QString::number(high))) +
                           10;
    const int line = metrics.height();
    const QRect plot = area.adjusted(valueWidth + 8, line + 8, -legendWidth - 12, -2 * line - 12);
    if (plot.width() < 20 || plot.height() < 20) {
        painter.restore();
        return;
    }
    auto xOf = [&](double hour) {
        return plot.left() +
               (hour - double(firstHour)) * plot.width() / double(lastHour - firstHour);
    };
    auto yOf = [&](double value) {
        return plot.bottom() - (value - low) * plot.height() / (high - low);
    };

    // Grid and value labels.
    painter.setPen(QColor(225, 225, 225));
    for (double v = low; v <= high + step / 2; v += step)
        painter.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
    painter.setPen(Qt::black);
    for (double v = low; v <= high + step / 2; v += step)
        painter.drawText(QRectF(area.left(), yOf(v) - line / 2.0, valueWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'f', 0));
    const QString unit = figureUnit(view.figure);
    if (!unit.isEmpty())
        painter.drawText(QRect(plot.left() + 6, area.top() + 2, 80, line), Qt::AlignLeft, unit);

    // Hour axis: the game hour and its clock time.
    const int64_t hStep = hourStep(lastHour - firstHour, std::max(1, plot.width() / 110));
    for (int64_t h = (firstHour + hStep - 1) / hStep * hStep; h <= lastHour; h += hStep) {
        const double x = xOf(double(h));
        painter.setPen(QColor(235, 235, 235));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        // Labels stay inside the chart at both ends.
        const double boxLeft = std::clamp(x - 55, double(area.left()), double(area.right() - 110));
        const QRectF box(boxLeft, plot.bottom() + 5, 110, line);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("%1 h").arg(h));
        painter.drawText(box.translated(0, line), Qt::AlignCenter, hourClock(*f, h));
    }
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    // One line per player: each row's value drawn at the end of its hours.
    painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
    for (const int p : players) {
        QPainterPath path;
        for (int row = 0; row < f->rowCount(); ++row) {
            const QPointF point(xOf(double(f->rowHours[static_cast<size_t>(row)] + f->hoursPerRow)),
                                yOf(f->value(row, p, view.figure)));
            if (row == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        painter.setPen(QPen(playerColour(*f, p), 2));
        painter.drawPath(path);
    }
    painter.setClipping(false);

    // Legend.
    int y = plot.top();
    const int left = plot.right() + 12;
    for (const int p : players) {
        painter.setPen(QPen(playerColour(*f, p), 3));
        painter.drawLine(left, y + line / 2, left + 18, y + line / 2);
        painter.setPen(Qt::black);
        painter.drawText(QRect(left + 24, y, legendWidth - 24, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(f->players[static_cast<size_t>(p)].entry,
                                            Qt::ElideRight, legendWidth - 24));
        y += line + 4;
        if (y > plot.bottom())
            break;
    }
    painter.restore();
}

FigureChart::FigureChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FigureChart::setView(const ChartView& view) {
    view_ = view;
    update();
}

void FigureChart::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    paintFigureChart(painter, rect(), view_);
}

} // namespace kx
