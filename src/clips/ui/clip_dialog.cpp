#include "clip_dialog.h"

#include "clip_encoder.h"
#include "clip_job.h"

#include "mapview/map_zoom.h"
#include "records/user_messages.h"
#include "replay/session.h"
#include "widgets/worker_progress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace kx {

namespace {

const char* const kTitle = "Exportovat klip";
const char* const kNoRecord = "Není otevřen žádný záznam, klip nelze exportovat.";

// The file dialog's filters, in the order of ClipFormat.
const char* const kFilters[] = {"Video MP4 (*.mp4)", "Video WebM (*.webm)",
                                "Animovaný obrázek GIF (*.gif)", "Animovaný obrázek WebP (*.webp)"};

// The largest frame side offered first: a clip is for sharing, not for a poster.
constexpr int kPreferredClipSide = 1920;

} // namespace

ClipDialog::ClipDialog(const ReplaySession& session, const QList<ClipEnd>& ends, QWidget* parent)
    : QDialog(parent), first_(session.firstEventIndex()), last_(session.eventCount() - 1) {
    setObjectName(QStringLiteral("dlgClip"));
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* form = new QFormLayout(this);
    const int32_t shown = session.shownEventIndex();
    from_ = addRangeRow(form, QString::fromUtf8("&Od akce:"), QStringLiteral("spClipFrom"),
                        shown >= first_ ? shown : first_, ends);
    to_ =
        addRangeRow(form, QString::fromUtf8("&Do akce:"), QStringLiteral("spClipTo"), last_, ends);

    pace_ = new QComboBox(this);
    pace_->setObjectName(QStringLiteral("cbClipPer"));
    pace_->addItems({QString::fromUtf8("jeden za každou akci"),
                     QString::fromUtf8("jeden za každou herní hodinu")});
    form->addRow(QString::fromUtf8("&Snímky:"), pace_);

    fps_ = new QSpinBox(this);
    fps_->setObjectName(QStringLiteral("spClipFps"));
    fps_->setRange(kClipFpsMin, kClipFpsMax);
    fps_->setValue(10);
    form->addRow(QString::fromUtf8("Snímků za &sekundu:"), fps_);

    view_ = new QComboBox(this);
    view_->setObjectName(QStringLiteral("cbClipView"));
    for (const MapView view : kMapViews)
        view_->addItem(mapViewName(view));
    view_->setCurrentIndex(static_cast<int>(session.viewItem()));
    form->addRow(QString::fromUtf8("&Pohled:"), view_);

    highlight_ = new QComboBox(this);
    highlight_->setObjectName(QStringLiteral("cbClipHighlight"));
    highlight_->addItem(QString::fromUtf8("nikoho"));
    highlight_->addItems(session.state().cbPlayers);
    if (session.highlightFields() && session.highlightOwner() < highlight_->count())
        highlight_->setCurrentIndex(session.highlightOwner());
    form->addRow(QString::fromUtf8("&Zvýraznit hráče:"), highlight_);

    scale_ = new QComboBox(this);
    scale_->setObjectName(QStringLiteral("cbClipScale"));
    const int columns = session.state().mapColumns;
    const int rows = session.state().mapRows;
    int preferred = 0;
    for (int zoom = kZoomMin;; zoom = zoomInStep(zoom)) {
        const qint64 width = headerSizeAt(zoom) + qint64(columns - 1) * cellSizeAt(zoom);
        const qint64 height = headerSizeAt(zoom) + qint64(rows - 1) * cellSizeAt(zoom);
        if (zoom <= kZoomDefault && std::max(width, height) <= kPreferredClipSide)
            preferred = scale_->count();
        scale_->addItem(
            QString::fromUtf8("%1 % (mapa %2 × %3 pixelů)").arg(zoom).arg(width).arg(height), zoom);
        if (zoom == kZoomMax)
            break;
    }
    scale_->setCurrentIndex(preferred);
    form->addRow(QString::fromUtf8("&Měřítko:"), scale_);

    caption_ = new QCheckBox(QString::fromUtf8("&Popisek (čas a akce) a legenda hráčů"), this);
    caption_->setObjectName(QStringLiteral("cbClipCaption"));
    caption_->setChecked(true);
    form->addRow(caption_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("bbClip"));
    buttons->addButton(QString::fromUtf8("&Exportovat…"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(QString::fromUtf8("Zrušit"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    // The range cannot turn round: each end holds the other back.
    connect(from_, &QSpinBox::valueChanged, this, [this](int value) {
        if (to_->value() < value)
            to_->setValue(value);
    });
    connect(to_, &QSpinBox::valueChanged, this, [this](int value) {
        if (from_->value() > value)
            from_->setValue(value);
    });
}

QSpinBox* ClipDialog::addRangeRow(QFormLayout* form, const QString& label, const QString& name,
                                  int32_t value, const QList<ClipEnd>& ends) {
    auto* row = new QHBoxLayout;
    auto* spin = new QSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(first_, std::max(first_, last_));
    spin->setValue(value);
    spin->setSuffix(QString::fromUtf8(" z %1").arg(last_ + 1));
    row->addWidget(spin, 1);
    if (!ends.isEmpty()) {
        // Bookmarks and markers as ends: a menu beside the number.
        auto* pick = new QToolButton(this);
        pick->setObjectName(name + QStringLiteral("Ends"));
        pick->setText(QString::fromUtf8("Záložky a značky"));
        pick->setPopupMode(QToolButton::InstantPopup);
        auto* menu = new QMenu(pick);
        for (const ClipEnd& end : ends)
            menu->addAction(QString::fromUtf8("Akce %1: %2").arg(end.event).arg(end.text), spin,
                            [spin, end] { spin->setValue(end.event); });
        pick->setMenu(menu);
        row->addWidget(pick);
    }
    form->addRow(label, row);
    if (auto* labelWidget = qobject_cast<QLabel*>(form->labelForField(row)))
        labelWidget->setBuddy(spin);
    return spin;
}

ClipSettings ClipDialog::settings() const {
    ClipSettings settings;
    settings.from = from_->value();
    settings.to = to_->value();
    settings.pace = pace_->currentIndex() == 1 ? FramePace::Hour : FramePace::Event;
    settings.fps = fps_->value();
    settings.view = mapViewAt(view_->currentIndex()).value_or(MapView::All);
    settings.highlightOwner = highlight_->currentIndex();
    settings.zoom = scale_->currentData().toInt();
    settings.caption = caption_->isChecked();
    return settings;
}

bool writeClip(QWidget& parent, const ReplaySession& session, const ClipSettings& settings,
               const QString& path, UserMessages& messages) {
    const std::optional<ClipFormat> format = clipFormatFor(path);
    if (!format) {
        messages.showMessage(
            QString::fromUtf8("Klip se ukládá jako .mp4, .webm, .gif nebo .webp, ne jako %1.")
                .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    const QString range =
        clipRangeError(settings.from, settings.to, session.firstEventIndex(), session.eventCount());
    if (!range.isEmpty()) {
        messages.showMessage(range);
        return false;
    }
    // Replayed, drawn and encoded on a thread of its own from a copy of the record.
    ClipJob job(clipRecordOf(session), settings, *format, parent.palette(), parent.font());
    ClipOutcome outcome;
    runWithProgress(parent, QString::fromUtf8(kTitle), QString::fromUtf8("Exportuji klip…"),
                    QStringLiteral("dlgClipProgress"), [&](const WorkProgress& progress) {
                        outcome = job.write(path, progress);
                        return outcome.error;
                    });
    if (!outcome.error.isEmpty() && !outcome.cancelled)
        messages.showMessage(outcome.error);
    return outcome.error.isEmpty();
}

void exportClip(QWidget& parent, const ReplaySession& session, const QList<ClipEnd>& ends,
                UserMessages& messages) {
    if (session.eventCount() <= session.firstEventIndex() || !session.state().world.gridAllocated) {
        messages.showMessage(QString::fromUtf8(kNoRecord));
        return;
    }
    ClipDialog dialog(session, ends, &parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ClipSettings settings = dialog.settings();

    QStringList filters;
    for (const char* filter : kFilters)
        filters.append(QString::fromUtf8(filter));
    QString filter = filters.first();
    const QString suggested = QFileInfo(session.state().dlgOpen.fileName).completeBaseName();
    QString path = QFileDialog::getSaveFileName(
        &parent, QString::fromUtf8(kTitle),
        suggested.isEmpty() ? QString() : suggested + QStringLiteral(".mp4"),
        filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty()) {
        const ClipFormat chosen =
            static_cast<ClipFormat>(std::max<qsizetype>(0, filters.indexOf(filter)));
        path += QLatin1Char('.') + clipExtension(chosen);
    }
    writeClip(parent, session, settings, path, messages);
}

} // namespace kx
