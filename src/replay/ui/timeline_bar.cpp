#include "timeline_bar.h"

#include "marker_strip.h"

#include "records/time_stamp.h"
#include "replay/event_rows.h"
#include "replay/session.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>

namespace kx {

namespace {

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QToolButton* toolButton(const char* name, const QString& text, const QString& tip) {
    auto* button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    // The replay keys are the window's; the buttons take no keyboard focus.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TimelineBar::TimelineBar(ReplaySession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("timeline"));
    slider_->setToolTip(QString::fromUtf8("Časová osa: přetažením skočíte na jinou akci"));
    // A drag jumps when the handle is released, not at every pixel on the way.
    slider_->setTracking(false);
    slider_->setFocusPolicy(Qt::NoFocus);
    label_ = new QLabel;
    label_->setObjectName(QStringLiteral("lbTimeline"));
    label_->setMinimumWidth(
        label_->fontMetrics().horizontalAdvance(QStringLiteral("00. 00. - 00:00:00")) + 8);
    strip_ = new MarkerStrip;
    strip_->setDescriber([this](int32_t event) { return describe(event); });

    previous_ = toolButton("btnPrevMarker", QString::fromUtf8("◀"),
                           QString::fromUtf8("Předchozí značka (Ctrl+Vlevo)"));
    next_ = toolButton("btnNextMarker", QString::fromUtf8("▶"),
                       QString::fromUtf8("Další značka (Ctrl+Vpravo)"));
    kinds_ = toolButton("btnMarkerKinds", QString::fromUtf8("Značky"),
                        QString::fromUtf8("Které značky ukazovat a procházet"));
    kinds_->setPopupMode(QToolButton::InstantPopup);
    kindsMenu_ = new QMenu(kinds_);
    kindsMenu_->setObjectName(QStringLiteral("mnMarkerKinds"));
    for (int k = 0; k < kMarkerKindCount; ++k) {
        const auto kind = static_cast<MarkerKind>(k);
        QAction* action = kindsMenu_->addAction(swatch(markerColour(kind)), markerKindName(kind));
        action->setCheckable(true);
        action->setChecked(true);
        action->setData(k);
        connect(action, &QAction::toggled, this, [this] { filterChanged(); });
    }
    kinds_->setMenu(kindsMenu_);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(0);
    layout->addWidget(strip_, 0, 1);
    layout->addWidget(previous_, 1, 0);
    layout->addWidget(slider_, 1, 1);
    layout->addWidget(next_, 1, 2);
    layout->addWidget(kinds_, 1, 3);
    layout->addWidget(label_, 1, 4);
    layout->setColumnStretch(1, 1);

    connect(slider_, &QSlider::sliderMoved, this,
            [this](int value) { showEventUnderHandle(value, true); });
    connect(slider_, &QSlider::sliderReleased, this, [] { QToolTip::hideText(); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!updating_)
            Q_EMIT jumpRequested(value);
    });
    connect(strip_, &MarkerStrip::jumpRequested, this, &TimelineBar::jumpRequested);
    connect(previous_, &QToolButton::clicked, this, [this] { Q_EMIT markerStepRequested(-1); });
    connect(next_, &QToolButton::clicked, this, [this] { Q_EMIT markerStepRequested(1); });
    refresh();
}

TimelineBar::~TimelineBar() = default;

QRect sliderHandleRect(const QSlider* slider, int value) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           slider);
}

void TimelineBar::showEventUnderHandle(int value, bool tip) {
    const MainState& state = session_.state();
    QString text;
    if (value >= session_.firstEventIndex() && value < state.lvData.size() && !session_.busy())
        text = eventTimeLabel(state.lvData.item(value).subItem(0));
    if (label_->text() != text)
        label_->setText(text);
    if (!tip)
        return;
    QToolTip::showText(slider_->mapToGlobal(sliderHandleRect(slider_, value).topLeft()), text,
                       slider_);
}

void TimelineBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeStrip();
}

// The strip spans the slider's handle centre from its first to its last position.
void TimelineBar::placeStrip() {
    QStyleOptionSlider option;
    option.initFrom(slider_);
    option.orientation = Qt::Horizontal;
    const QRect handle = slider_->style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderHandle, slider_);
    const QRect groove = slider_->style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderGroove, slider_);
    const int left = groove.left() + handle.width() / 2;
    const int right = slider_->width() - groove.right() - 1 + (handle.width() - 1) / 2;
    strip_->setRange(slider_->minimum(), slider_->maximum(), left, right);
}

MarkerFilter TimelineBar::markerFilter() const {
    MarkerFilter filter;
    filter.kinds = 0;
    for (QAction* action : kindsMenu_->actions())
        if (action->isChecked())
            filter.kinds |= 1u << action->data().toInt();
    filter.player = session_.state().selectedPlayer;
    return filter;
}

void TimelineBar::filterChanged() {
    strip_->setMarkers(markers_, markerFilter());
    Q_EMIT markerFilterChanged();
}

void TimelineBar::setMarkers(const std::vector<TimelineMarker>* markers) {
    markers_ = markers;
    sentences_.reset();
    strip_->setMarkers(markers_, markerFilter());
    const bool have = markers && !markers->empty();
    previous_->setEnabled(have);
    next_->setEnabled(have);
}

void TimelineBar::setMarkerProgress(int percent) {
    kinds_->setText(percent < 0 ? QString::fromUtf8("Značky")
                                : QString::fromUtf8("Značky %1 %").arg(percent));
}

void TimelineBar::setBookmarks(const std::map<int32_t, QString>& bookmarks) {
    bookmarks_ = bookmarks;
    std::vector<int32_t> events;
    events.reserve(bookmarks.size());
    for (const auto& entry : bookmarks)
        events.push_back(entry.first);
    strip_->setBookmarks(std::move(events));
}

QString TimelineBar::describe(int32_t event) {
    const MainState& state = session_.state();
    if (session_.busy() || event < session_.firstEventIndex() || event >= state.lvData.size())
        return {};
    QStringList what;
    if (const auto at = bookmarks_.find(event); at != bookmarks_.end())
        what << QString::fromUtf8("Záložka „%1“").arg(at->second);
    if (markers_) {
        const MarkerFilter filter = markerFilter();
        auto at = firstMarkerFrom(*markers_, event);
        for (; at != markers_->end() && at->event == event; ++at)
            if (filter.accepts(*at))
                what << markerKindName(at->kind);
    }
    // The sentence as the event list says it, replayed on a scratch world.
    if (!sentences_)
        sentences_ = std::make_unique<EventRows>(session_);
    sentences_->sync();
    const int32_t row = sentences_->rowOf(event);
    const QString sentence = row >= 0 ? sentences_->sentence(row) : QString();
    return QStringLiteral("Akce %1: %2\n%3\n%4")
        .arg(event)
        .arg(eventTimeLabel(state.lvData.item(event).subItem(0)), what.join(QStringLiteral(", ")),
             sentence);
}

void TimelineBar::refresh() {
    if (session_.busy())
        return;
    const int32_t first = session_.firstEventIndex();
    const int32_t last = session_.eventCount() - 1;
    const bool events = session_.state().panelEnabled && last >= first;
    updating_ = true;
    slider_->setEnabled(events);
    if (!events) {
        slider_->setRange(0, 0);
    } else if (!slider_->isSliderDown()) {
        slider_->setRange(first, last);
        slider_->setPageStep(std::max(10, (last - first) / 20));
        slider_->setValue(std::max(first, session_.shownEventIndex()));
    }
    updating_ = false;
    if (!slider_->isSliderDown())
        showEventUnderHandle(events ? slider_->value() : -1, false);
    placeStrip();
    // The markers follow the player chosen in the player list.
    if (session_.state().selectedPlayer != shownPlayer_) {
        shownPlayer_ = session_.state().selectedPlayer;
        filterChanged();
    }
}

} // namespace kx
