#include "map_export.h"

#include "mapview/ui/map_picture.h"
#include "records/user_messages.h"
#include "replay/session.h"
#include "widgets/worker_progress.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QWidget>

namespace kx {

namespace {

const char* const kNoRecord = "Není otevřen žádný záznam, mapu nelze uložit.";

} // namespace

QString saveMapPicture(const ReplaySession& session, const QString& path, const QWidget& style,
                       int zoom) {
    const MapPicture picture(session, style.palette(), style.font(), zoom);
    if (session.state().lvData.isEmpty() || picture.isNull())
        return QString::fromUtf8(kNoRecord);
    return picture.writePng(path);
}

PictureScales pictureScales(const ReplaySession& session) {
    PictureScales scales;
    const int columns = session.state().mapColumns;
    const int rows = session.state().mapRows;
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    for (int zoom = kZoomMin;; zoom = zoomInStep(zoom)) {
        // The headers keep at least their 100 % size, as in the window.
        const qint64 width = headerSizeAt(zoom) + qint64(columns - 1) * cellSizeAt(zoom);
        const qint64 height = headerSizeAt(zoom) + qint64(rows - 1) * cellSizeAt(zoom);
        if (zoom <= kZoomDefault && std::max(width, height) <= kPreferredPictureSide)
            scales.preferred = int(scales.zooms.size());
        scales.zooms.append(zoom);
        scales.texts.append(QString::fromUtf8("%1 % (%2 × %3 pixelů)")
                                .arg(zoom)
                                .arg(czech.toString(width), czech.toString(height)));
        if (zoom == kZoomMax)
            break;
    }
    return scales;
}

void exportMapPicture(QWidget& parent, const ReplaySession& session, UserMessages& messages) {
    if (session.state().lvData.isEmpty() || !session.state().world.gridAllocated) {
        messages.showMessage(QString::fromUtf8(kNoRecord));
        return;
    }
    const PictureScales scales = pictureScales(session);
    bool chosen = false;
    const QString scale = QInputDialog::getItem(
        &parent, QString::fromUtf8("Uložit mapu jako obrázek"), QString::fromUtf8("Měřítko:"),
        scales.texts, scales.preferred, false, &chosen);
    if (!chosen)
        return;
    const int zoom = scales.zooms.value(scales.texts.indexOf(scale), kZoomDefault);

    const QString suggested = QFileInfo(session.state().dlgOpen.fileName).completeBaseName();
    QString path = QFileDialog::getSaveFileName(
        &parent, QString::fromUtf8("Uložit mapu jako obrázek"),
        suggested.isEmpty() ? QString() : suggested + QStringLiteral(".png"),
        QString::fromUtf8("Obrázek PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");

    // Drawn and written on a thread of its own from a copy of the world: the window stays
    // served and shows the progress, and "Zrušit" stops the work between two strips.
    const MapPicture picture(session, parent.palette(), parent.font(), zoom);
    const QString error = runWithProgress(
        parent, QString::fromUtf8("Uložit mapu jako obrázek"), QString::fromUtf8("Ukládám mapu…"),
        QStringLiteral("dlgMapProgress"),
        [&](const WorkProgress& progress) { return picture.writePng(path, progress); });
    if (!error.isEmpty() && error != MapPicture::cancelledText())
        messages.showMessage(error);
}

} // namespace kx
