#include "clip_canvas.h"

#include "mapview/map_zoom.h"

#include <QFontMetrics>
#include <QPainter>

namespace kx {

namespace {

// Icons of the legend: a louka field, a les field, a highlighted field.
constexpr int kLoukaIcon = 5;
constexpr int kLesIcon = 8;
constexpr int kHighlightIcon = 20;

// The name and team of a player list item "name (team)".
std::pair<QString, QString> nameAndTeam(const QString& item) {
    const qsizetype open = item.lastIndexOf(QStringLiteral(" ("));
    if (open < 0 || !item.endsWith(QLatin1Char(')')))
        return {item, {}};
    return {item.left(open), item.mid(open + 2, item.size() - open - 3)};
}

} // namespace

IconContext clipIconContext(const ClipSettings& settings) {
    IconContext context;
    context.viewFilter = settings.view;
    context.viewItem = settings.view;
    context.highlightOwner = settings.highlightOwner;
    return context;
}

ClipCanvas::ClipCanvas(const World& world, QSize gridSize, const QStringList& players,
                       const ClipSettings& settings, const QPalette& palette, const QFont& font,
                       bool evenSize, int largestSide)
    : cells_(world, gridSize, clipIconContext(settings),
             qreal(cellSizeAt(settings.zoom)) / MapRenderer::kCellSize),
      look_(mapLookAt(palette, font, settings.zoom)), renderer_(cells_, look_), players_(players),
      textFont_(font), highlightOwner_(settings.highlightOwner), caption_(settings.caption) {
    renderer_.setZoom(settings.zoom);
    QSize size = renderer_.size();
    if (caption_) {
        lineHeight_ = QFontMetrics(textFont_).height() + 4;
        size.rheight() += 2 * lineHeight_;
    }
    if (evenSize)
        size = QSize(size.width() + size.width() % 2, size.height() + size.height() % 2);
    size_ = size;
    if (frameSizeError(size, largestSide).isEmpty())
        image_ = QImage(size, QImage::Format_RGB32);
}

const QImage& ClipCanvas::draw(const QString& caption) {
    const int columns = renderer_.columnCount();
    const int rows = renderer_.rowCount();
    if (image_.isNull())
        return image_;
    if (icons_.empty()) {
        image_.fill(Qt::black);
        QPainter painter(&image_);
        renderer_.draw(painter, QRect(QPoint(), renderer_.size()));
        icons_.resize(size_t(columns) * size_t(rows));
        for (int column = 1; column < columns; ++column)
            for (int row = 1; row < rows; ++row)
                icons_[size_t(column) * size_t(rows) + size_t(row)] = cells_.icon(column, row);
    } else {
        // Only the cells whose icons changed; an icon covers its cell whole.
        QPainter painter(&image_);
        const bool scaled = renderer_.cellRect(1, 1).width() != MapRenderer::kCellSize;
        for (int column = 1; column < columns; ++column)
            for (int row = 1; row < rows; ++row) {
                int& drawn = icons_[size_t(column) * size_t(rows) + size_t(row)];
                const int icon = cells_.icon(column, row);
                if (icon == drawn)
                    continue;
                drawn = icon;
                if (scaled)
                    painter.drawPixmap(renderer_.cellRect(column, row), cells_.iconPixmap(icon));
                else
                    painter.drawPixmap(renderer_.cellRect(column, row).topLeft(),
                                       cells_.iconPixmap(icon));
            }
    }
    if (caption_)
        drawCaption(caption);
    return image_;
}

void ClipCanvas::drawCaption(const QString& caption) {
    QPainter painter(&image_);
    const QRect area(0, renderer_.size().height(), renderer_.size().width(), 2 * lineHeight_);
    painter.fillRect(area, look_.headerFace);
    painter.setFont(textFont_);
    painter.setPen(look_.headerText);
    const QRect line = area.adjusted(4, 2, -4, -lineHeight_);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(textFont_).elidedText(caption, Qt::ElideRight, line.width()));
    drawLegend(painter, area.adjusted(4, lineHeight_, -4, 0));
}

void ClipCanvas::drawLegend(QPainter& painter, QRect area) const {
    QStringList louka;
    QStringList les;
    QString highlighted;
    for (qsizetype i = 0; i < players_.size(); ++i) {
        const auto [name, team] = nameAndTeam(players_[i]);
        if (highlightOwner_ == i + 1)
            highlighted = name;
        if (team == QLatin1String("louka"))
            louka.append(name);
        else if (team == QLatin1String("les"))
            les.append(name);
    }
    const QFontMetrics metrics(textFont_);
    const int side = std::max(1, lineHeight_ - 6);
    int x = area.left();
    const auto group = [&](int icon, const QString& text) {
        if (x >= area.right())
            return;
        painter.drawPixmap(QRect(x, area.top() + (lineHeight_ - side) / 2, side, side),
                           cells_.iconPixmap(icon));
        x += side + 4;
        const int room = area.right() - x;
        const int advance = metrics.horizontalAdvance(text) + 1;
        const int width = std::min(advance, room);
        painter.drawText(QRect(x, area.top(), width, lineHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                         advance <= room ? text : metrics.elidedText(text, Qt::ElideRight, room));
        x += width + 12;
    };
    if (!louka.isEmpty())
        group(kLoukaIcon, QStringLiteral("louka: ") + louka.join(QStringLiteral(", ")));
    if (!les.isEmpty())
        group(kLesIcon, QStringLiteral("les: ") + les.join(QStringLiteral(", ")));
    if (!highlighted.isEmpty())
        group(kHighlightIcon, highlighted);
}

QImage ClipCanvas::paletteSample() {
    const QImage first = draw();
    forgetDrawn(); // the clip's first frame is drawn whole again
    QImage sample(std::max(first.width(), kIconCount * MapRenderer::kCellSize),
                  first.height() + 2 * MapRenderer::kCellSize, QImage::Format_RGB32);
    sample.fill(look_.headerFace);
    QPainter painter(&sample);
    painter.drawImage(0, 0, first);
    for (int i = 0; i < kIconCount; ++i)
        painter.drawPixmap(QRect(i * MapRenderer::kCellSize, first.height(), MapRenderer::kCellSize,
                                 MapRenderer::kCellSize),
                           cells_.iconPixmap(i));
    painter.fillRect(
        QRect(0, first.height() + MapRenderer::kCellSize, sample.width(), MapRenderer::kCellSize),
        look_.headerText);
    return sample;
}

} // namespace kx
