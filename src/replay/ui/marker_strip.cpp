#include "marker_strip.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace kx {

namespace {

constexpr int kStripHeight = 12;
constexpr int kNearPixels = 3;

// Where a kind's mark stands in the strip: its top and height, out of kStripHeight.
struct Lane {
    int top, height;
};
Lane laneOf(int bit) {
    switch (bit) {
    case int(MarkerKind::DayStart):
        return {8, 4};
    case int(MarkerKind::AttackWon):
    case int(MarkerKind::AttackLost):
        return {4, 5};
    default: // fallen HQs, last fields, the end and bookmarks stand the whole height
        return {0, kStripHeight};
    }
}

} // namespace

QColor markerColour(MarkerKind kind) {
    switch (kind) {
    case MarkerKind::AttackWon:
        return QColor(0x2e, 0x8b, 0x57);
    case MarkerKind::AttackLost:
        return QColor(0xe0, 0x8a, 0x1e);
    case MarkerKind::HqDestroyed:
        return QColor(0xd0, 0x20, 0x20);
    case MarkerKind::LastFieldLost:
        return QColor(0x8b, 0x3a, 0x9e);
    case MarkerKind::WorldEnd:
        return QColor(0x20, 0x20, 0x20);
    case MarkerKind::DayStart:
        break;
    }
    return QColor(0x90, 0x90, 0x90);
}

QColor bookmarkColour() {
    return QColor(0x1e, 0x5a, 0xd0);
}

void paintMarkerBuckets(QPainter& painter, const QRect& area, const std::vector<uint8_t>& buckets) {
    // Lower lanes first, so that the tall marks stay on top; one colour at a time.
    static const int kOrder[] = {
        int(MarkerKind::DayStart), int(MarkerKind::AttackLost),    int(MarkerKind::AttackWon),
        int(MarkerKind::WorldEnd), int(MarkerKind::LastFieldLost), int(MarkerKind::HqDestroyed),
        kMarkerKindCount};
    const int scaleY = std::max(1, area.height());
    for (const int bit : kOrder) {
        const QColor colour =
            bit == kMarkerKindCount ? bookmarkColour() : markerColour(static_cast<MarkerKind>(bit));
        const Lane lane = bit == kMarkerKindCount ? Lane{0, kStripHeight} : laneOf(bit);
        const int top = area.top() + lane.top * scaleY / kStripHeight;
        const int height = std::max(1, lane.height * scaleY / kStripHeight);
        const int width = bit == kMarkerKindCount ? 3 : 1;
        const uint8_t mask = static_cast<uint8_t>(1u << bit);
        for (size_t c = 0; c < buckets.size(); ++c)
            if (buckets[c] & mask)
                painter.fillRect(area.left() + static_cast<int>(c) - width / 2, top, width, height,
                                 colour);
    }
}

MarkerStrip::MarkerStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("timelineMarkers"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize MarkerStrip::sizeHint() const {
    return {200, kStripHeight};
}

void MarkerStrip::setRange(int32_t first, int32_t last, int leftMargin, int rightMargin) {
    if (first == first_ && last == last_ && leftMargin == left_ && rightMargin == right_)
        return;
    first_ = first;
    last_ = last;
    left_ = leftMargin;
    right_ = rightMargin;
    dirty_ = true;
    update();
}

void MarkerStrip::setMarkers(const std::vector<TimelineMarker>* markers,
                             const MarkerFilter& filter) {
    markers_ = markers;
    filter_ = filter;
    dirty_ = true;
    update();
}

void MarkerStrip::setBookmarks(std::vector<int32_t> events) {
    if (events == bookmarks_)
        return;
    bookmarks_ = std::move(events);
    dirty_ = true;
    update();
}

QRect MarkerStrip::area() const {
    return QRect(left_, 0, std::max(0, width() - left_ - right_), height());
}

void MarkerStrip::paintEvent(QPaintEvent*) {
    const QRect strip = area();
    if (dirty_ || buckets_.size() != static_cast<size_t>(strip.width())) {
        static const std::vector<TimelineMarker> none;
        buckets_ = markerBuckets(markers_ ? *markers_ : none, filter_, bookmarks_, first_, last_,
                                 strip.width());
        dirty_ = false;
    }
    QPainter painter(this);
    paintMarkerBuckets(painter, strip, buckets_);
}

int32_t MarkerStrip::markedEventNear(int x) const {
    const QRect strip = area();
    if (strip.width() <= 0 || last_ <= first_)
        return -1;
    int32_t best = -1;
    int bestDistance = kNearPixels + 1;
    auto consider = [&](int32_t event) {
        const int distance =
            std::abs(strip.left() + markerColumn(event, first_, last_, strip.width()) - x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = event;
        }
    };
    for (const int32_t event : bookmarks_)
        consider(event);
    if (markers_) {
        // Only the markers of the few columns around x.
        const int32_t from =
            eventOfColumn(x - strip.left() - kNearPixels - 1, first_, last_, strip.width());
        const int32_t to =
            eventOfColumn(x - strip.left() + kNearPixels + 1, first_, last_, strip.width());
        auto at = firstMarkerFrom(*markers_, from);
        for (; at != markers_->end() && at->event <= to; ++at)
            if (filter_.accepts(*at))
                consider(at->event);
    }
    return best;
}

bool MarkerStrip::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int32_t marked = markedEventNear(help->pos().x());
        if (marked >= 0 && describe_)
            QToolTip::showText(help->globalPos(), describe_(marked), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void MarkerStrip::mousePressEvent(QMouseEvent* event) {
    const int32_t marked = markedEventNear(static_cast<int>(event->position().x()));
    if (marked >= 0)
        Q_EMIT jumpRequested(marked);
}

} // namespace kx
