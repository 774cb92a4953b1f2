#pragma once

#include "stats/marker_buckets.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace kx {

// Colour of a kind's marks (and of bookmarks), shared with the filter menu's swatches.
QColor markerColour(MarkerKind kind);
QColor bookmarkColour();

// Paints buckets (one per pixel column of `area`) as small marks, a lane per kind.
void paintMarkerBuckets(QPainter& painter, const QRect& area, const std::vector<uint8_t>& buckets);

// The strip over the timeline's slider: the markers and bookmarks of the record, each at its
// event's place on the slider. A tool tip names the event under the mouse; a click asks to
// jump to it.
class MarkerStrip : public QWidget {
    Q_OBJECT
  public:
    explicit MarkerStrip(QWidget* parent = nullptr);

    // The events first..last span the strip between the margins (the slider's handle centre
    // at its two ends).
    void setRange(int32_t first, int32_t last, int leftMargin, int rightMargin);
    // `markers` stays the caller's, unchanged until the next call; nullptr for none.
    void setMarkers(const std::vector<TimelineMarker>* markers, const MarkerFilter& filter);
    void setBookmarks(std::vector<int32_t> events);
    // Tells what an event is, for the tool tip.
    void setDescriber(std::function<QString(int32_t event)> describe) {
        describe_ = std::move(describe);
    }

    // The marked event (marker or bookmark) nearest to x within a few pixels, or -1.
    int32_t markedEventNear(int x) const;
    QSize sizeHint() const override;

  Q_SIGNALS:
    void jumpRequested(int32_t event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRect area() const;

    const std::vector<TimelineMarker>* markers_ = nullptr;
    MarkerFilter filter_;
    std::vector<int32_t> bookmarks_;
    int32_t first_ = 0, last_ = 0;
    int left_ = 0, right_ = 0;
    std::function<QString(int32_t)> describe_;
    mutable std::vector<uint8_t> buckets_;
    mutable bool dirty_ = true;
};

} // namespace kx
