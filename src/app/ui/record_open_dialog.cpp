#include "record_open_dialog.h"

#include <QFileDialog>

namespace kx {

QStringList RecordOpenDialog::filters() {
    // "Name (pattern)|pattern|..." pairs, as the program's filter string lists them.
    const QStringList parts = QString::fromUtf8(kOpenFilter).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names;
}

bool RecordOpenDialog::exec(OpenDialogState& dialog) {
    QFileDialog fileDialog(parent_, QString(), dialog.initialDir);
    fileDialog.setObjectName(QStringLiteral("dlgOpen"));
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList names = filters();
    fileDialog.setNameFilters(names);
    const int index = std::clamp(dialog.filterIndex, 1, static_cast<int>(names.size()));
    fileDialog.selectNameFilter(names[index - 1]);
    if (!dialog.fileName.isEmpty())
        fileDialog.selectFile(dialog.fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return false;
    dialog.fileName = fileDialog.selectedFiles().constFirst();
    dialog.filterIndex = static_cast<int>(names.indexOf(fileDialog.selectedNameFilter())) + 1;
    if (dialog.filterIndex < 1)
        dialog.filterIndex = 1;
    return true;
}

} // namespace kx
