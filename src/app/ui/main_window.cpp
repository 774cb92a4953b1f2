#include "main_window.h"

#include "records/ui/converter_window.h"
#include "replay/ui/event_dock.h"
#include "replay/ui/timeline_bar.h"

#include "app/startup.h"
#include "app/ui/map_zoom_controls.h"
#include "mapview/ui/map_grid.h"
#include "mapview/ui/session_map_source.h"
#include "replay/slide_speed.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>

#include <algorithm>

namespace kx {

namespace {

void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

// The window as laid out for its first start; it grows as far as its controls need.
constexpr QSize kLayoutSize(582, 474);

const char* const kPlayersSuffix = " - hráči ";

// The width a group box's title may take without widening the box.
int titleRoom(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    const QFontMetrics metrics = box->fontMetrics();
    const QSize frame = box->style()->sizeFromContents(QStyle::CT_GroupBox, &option,
                                                       QSize(0, metrics.height()), box);
    return box->width() - frame.width() - metrics.horizontalAdvance(QLatin1Char(' '));
}

// A caption that does not fit loses the end of its text before `kept`, which stays whole.
QString elidedCaption(const QString& caption, const QString& kept, const QFontMetrics& metrics,
                      int room) {
    if (metrics.horizontalAdvance(caption) <= room)
        return caption;
    if (!caption.endsWith(kept))
        return metrics.elidedText(caption, Qt::ElideRight, room);
    const int nameRoom = std::max(0, room - metrics.horizontalAdvance(kept));
    return metrics.elidedText(caption.chopped(kept.size()), Qt::ElideRight, nameRoom) + kept;
}

} // namespace

TFMain::TFMain(QWidget* parent)
    : QMainWindow(parent), boxes_(this), session_(boxes_), messages_(&boxes_), fileDialog_(this),
      openDialog_(&fileDialog_) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
    buildControls();
    buildEventDock();
    buildMarkers();
    buildMenu();
    new MapZoomControls(*this, *dgMap_); // the zoom items and the overview dock
    activity_ = std::make_unique<WindowActivity>(pbLoad_);
    session_.setActivityObserver(activity_.get());
    // Also makes the map the session's repaint sink.
    dgMap_->setSource(std::make_unique<SessionMapSource>(session_));
    session_.setOpenDialogFolder(QDir::currentPath());
    connectControls();
    // The map and the summary get the replay keys before they handle keys themselves, and
    // paints tell when a key's step has been shown (see eventFilter).
    QApplication::instance()->installEventFilter(this);
    resize(kLayoutSize.expandedTo(minimumSizeHint()));
    // The replay keys work from the start.
    dgMap_->setFocus();
    refresh();
}

TFMain::~TFMain() {
    QApplication::instance()->removeEventFilter(this);
    // The dock is hidden while the base class closes the window, when this is no TFMain.
    disconnect(eventDock_, nullptr, this, nullptr);
    dgMap_->setSource(nullptr);
}

void TFMain::setMessages(UserMessages* messages) {
    messages_ = messages ? messages : &boxes_;
    // The session reports through the same object as the window.
    session_.setMessages(*messages_);
}

void TFMain::connectControls() {
    connect(Button1_, &QPushButton::clicked, this, [this] {
        session_.Button1Click();
        afterAction();
    });
    connect(Button2_, &QPushButton::clicked, this, [this] {
        session_.Button2Click();
        afterAction();
    });
    connect(Button6_, &QPushButton::clicked, this, [this] {
        session_.Button6Click();
        afterAction();
    });
    connect(Button7_, &QPushButton::clicked, this, [this] {
        session_.Button7Click();
        afterAction();
    });
    connect(Button4_, &QPushButton::clicked, this, [this] {
        session_.Button4Click();
        afterAction();
    });
    connect(Button5_, &QPushButton::clicked, this, [this] {
        session_.Button5Click();
        afterAction();
    });
    connect(edTime_, &QLineEdit::textChanged, this, [this](const QString& text) {
        session_.setEdTimeText(text);
        afterAction();
    });
    connect(slajd_, &QTimer::timeout, this, [this] {
        session_.slajdTimer();
        stopSlideShowAtMarker();
        afterAction();
    });
    connect(btnNext_, &QPushButton::clicked, this, [this] {
        session_.btnNextClick();
        afterAction();
    });
    connect(cbPlayers_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        session_.selectPlayer(index);
        afterAction();
    });
    connect(cbView_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        session_.cbViewChange(index);
        afterAction();
    });
    connect(cbHL_, &QCheckBox::toggled, this,
            [this](bool checked) { session_.setHighlightFields(checked); });
    connect(cbHH_, &QCheckBox::clicked, this, [this](bool checked) {
        session_.cbHHClick(checked);
        afterAction();
    });
    connect(dgMap_, &MapGrid::cellPointed, this, [this] { refreshLabels(); });
}

bool TFMain::openRecord(const QString& path) {
    // The loader makes the path the current record once it has loaded; a failed load keeps
    // the record shown (and reloaded by "Pokračovat") as it was.
    const bool loaded = session_.loadRecord(path, recordFormatForPath(path));
    afterAction();
    if (loaded)
        Q_EMIT recordOpened(session_.state().dlgOpen.fileName);
    return loaded;
}

void TFMain::mmFileOpenClick() {
    const bool loaded = session_.mmFileOpenClick(*openDialog_);
    afterAction();
    if (loaded)
        Q_EMIT recordOpened(session_.state().dlgOpen.fileName);
}

void TFMain::mmUtilConvClick() {
    if (!converter_)
        return;
    session_.restoreConversionLog();
    converter_->showConversion(session_.state().converter);
    converter_->show();
    converter_->raise();
}

void TFMain::showModal(QWidget* window) {
    if (!window)
        return;
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
}

void TFMain::keyPressEvent(QKeyEvent* event) {
    // The keys that no control of the window used: the replay keys, Enter for the default
    // button "Start!" and Esc for the cancel button "Zrušit". Keys that close an open drop-down
    // list stay with the list, which is a window of its own.
    if (replayKeyPressed(event))
        return;
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Button4_->click();
            return;
        case Qt::Key_Escape:
            Button5_->click();
            return;
        default:
            break;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void TFMain::closeEvent(QCloseEvent* event) {
    // Closing in the middle of a load or jump would pull the window from under it: close
    // when it has finished.
    if (session_.busy()) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    slajd_->stop();
    event->accept();
}

void TFMain::afterAction() {
    refresh();
    if (converter_ && converter_->isVisible()) {
        session_.restoreConversionLog();
        converter_->showConversion(session_.state().converter);
    }
    if (closeRequested_ && !session_.busy()) {
        closeRequested_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TFMain::refreshPlayers() {
    const MainState& state = session_.state();
    if (shownPlayers_ != state.cbPlayers) {
        const QSignalBlocker blocker(cbPlayers_);
        cbPlayers_->clear();
        cbPlayers_->addItems(state.cbPlayers);
        shownPlayers_ = state.cbPlayers;
    }
    if (cbPlayers_->currentIndex() != state.selectedPlayer) {
        const QSignalBlocker blocker(cbPlayers_);
        cbPlayers_->setCurrentIndex(state.selectedPlayer);
    }
    refreshPlayersTitle();
}

void TFMain::refreshPlayersTitle() {
    // A long world name is shortened so that the title fits the group and " - hráči " stays;
    // the tool tip then holds the whole caption.
    const QString& full = session_.state().gbPlayersCaption;
    QFont titleFont = gbPlayers_->font(); // measured bold, as some styles draw it
    titleFont.setBold(true);
    const QString title = elidedCaption(full, QString::fromUtf8(kPlayersSuffix),
                                        QFontMetrics(titleFont), titleRoom(gbPlayers_));
    if (gbPlayers_->title() != title)
        gbPlayers_->setTitle(title);
    const QString tip = title == full ? QString() : full.trimmed();
    if (gbPlayers_->toolTip() != tip)
        gbPlayers_->setToolTip(tip);
}

void TFMain::refreshLabels() {
    const MainState& state = session_.state();
    setTextIfChanged(lbPT_, state.stats.lbPT);
    setTextIfChanged(lbPN_, state.stats.lbPN);
    setTextIfChanged(lbPP_, state.stats.lbPP);
    setTextIfChanged(lbPH_, state.stats.lbPH);
    setTextIfChanged(lbPA_, state.stats.lbPA);
    setTextIfChanged(lbPD_, state.stats.lbPD);
    setTextIfChanged(lbFN_, state.inspector.lbFN);
    setTextIfChanged(lbFT_, state.inspector.lbFT);
    setTextIfChanged(lbFO_, state.inspector.lbFO);
    setTextIfChanged(lbFU_, state.inspector.lbFU);
    setTextIfChanged(lbFC_, state.inspector.lbFC);
    setTextIfChanged(lbTime_, state.lbTime);
}

void TFMain::refreshSlideShow() {
    const MainState& state = session_.state();
    if (edTime_->text() != state.edTime) {
        const QSignalBlocker blocker(edTime_);
        edTime_->setText(state.edTime);
    }
    // The timer's interval follows the edit whether it runs or not; an interval of 0 or below
    // keeps it from firing.
    const int interval = std::max(0, state.slideShowInterval);
    if (slajd_->interval() != interval)
        slajd_->setInterval(interval);
    if (session_.slideShowFires()) {
        if (!slajd_->isActive())
            slajd_->start();
    } else {
        slajd_->stop();
    }
    // "Start!" stays pressed while the slide show runs; the speed control shows the interval.
    Button4_->setChecked(state.slideShowEnabled);
    if (!tbSpeed_->isSliderDown()) {
        const QSignalBlocker blocker(tbSpeed_);
        tbSpeed_->setValue(slideStepOfInterval(state.slideShowInterval));
    }
    setTextIfChanged(lbSpeed_, slideSpeedText(state.slideShowInterval));
}

void TFMain::refresh() {
    const MainState& state = session_.state();
    refreshPlayers();
    refreshLabels();
    if (shownInfo_ != state.info) {
        mInfo_->setPlainText(state.info.join(QLatin1Char('\n')));
        shownInfo_ = state.info;
    }
    if (shownSummary_ != state.summary) {
        mRes_->setPlainText(state.summary.join(QLatin1Char('\n')));
        shownSummary_ = state.summary;
    }
    QWidget* page = state.summaryShown ? summaryPage_ : static_cast<QWidget*>(dgMap_);
    if (mapArea_->currentWidget() != page) {
        // The focus stays where the replay keys work when the summary and the map trade places.
        const bool focused = mapArea_->isAncestorOf(QApplication::focusWidget());
        mapArea_->setCurrentWidget(page);
        if (focused)
            (state.summaryShown ? static_cast<QWidget*>(mRes_) : dgMap_)->setFocus();
    }
    Panel1_->setEnabled(state.panelEnabled);
    pbLoad_->setVisible(state.progressVisible);
    refreshSlideShow();
    timeline_->refresh();
    eventDock_->refresh();
    refreshMarkers();
}

} // namespace kx
