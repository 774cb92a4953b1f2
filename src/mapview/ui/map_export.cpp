#include "map_export.h"

#include "mapview/ui/map_image.h"
#include "records/atomic_file.h"
#include "records/user_messages.h"
#include "replay/session.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QWidget>

namespace kx {

QString saveMapPicture(const ReplaySession& session, const QString& path, const QWidget& style) {
    const QImage image = session.state().lvData.isEmpty()
                             ? QImage()
                             : renderMapImage(session, style.palette(), style.font());
    if (image.isNull())
        return QString::fromUtf8("Není otevřen žádný záznam, mapu nelze uložit.");
    // Encoded first, then written beside the target and renamed over it: a failed write
    // leaves an older picture of the same name whole.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    const QString failure =
        writer.write(image) ? writeFileAtomically(path, png) : writer.errorString();
    if (!failure.isEmpty())
        return QString::fromUtf8("Mapu nelze uložit do souboru %1: %2")
            .arg(QDir::toNativeSeparators(path), failure);
    return {};
}

void exportMapPicture(QWidget& parent, const ReplaySession& session, UserMessages& messages) {
    if (session.state().lvData.isEmpty()) {
        messages.showMessage(QString::fromUtf8("Není otevřen žádný záznam, mapu nelze uložit."));
        return;
    }
    const QString suggested = QFileInfo(session.state().dlgOpen.fileName).completeBaseName();
    QString path = QFileDialog::getSaveFileName(
        &parent, QString::fromUtf8("Uložit mapu jako obrázek"),
        suggested.isEmpty() ? QString() : suggested + QStringLiteral(".png"),
        QString::fromUtf8("Obrázek PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    const QString error = saveMapPicture(session, path, parent);
    if (!error.isEmpty())
        messages.showMessage(error);
}

} // namespace kx
