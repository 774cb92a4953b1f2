#include "timeline_bar.h"

#include "records/time_stamp.h"
#include "replay/session.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>

namespace kx {

TimelineBar::TimelineBar(ReplaySession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("timeline"));
    slider_->setToolTip(QString::fromUtf8("Časová osa: přetažením skočíte na jinou akci"));
    // A drag jumps when the handle is released, not at every pixel on the way.
    slider_->setTracking(false);
    // The replay keys are the window's; the slider takes no keyboard focus.
    slider_->setFocusPolicy(Qt::NoFocus);
    label_ = new QLabel;
    label_->setObjectName(QStringLiteral("lbTimeline"));
    label_->setMinimumWidth(
        label_->fontMetrics().horizontalAdvance(QStringLiteral("00. 00. - 00:00:00")) + 8);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider_, 1);
    layout->addWidget(label_);

    connect(slider_, &QSlider::sliderMoved, this,
            [this](int value) { showEventUnderHandle(value, true); });
    connect(slider_, &QSlider::sliderReleased, this, [] { QToolTip::hideText(); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!updating_)
            Q_EMIT jumpRequested(value);
    });
    refresh();
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
    QStyleOptionSlider option;
    option.initFrom(slider_);
    option.orientation = slider_->orientation();
    option.minimum = slider_->minimum();
    option.maximum = slider_->maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    const QRect handle = slider_->style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderHandle, slider_);
    QToolTip::showText(slider_->mapToGlobal(handle.topLeft()), text, slider_);
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
}

} // namespace kx
