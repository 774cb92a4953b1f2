#pragma once

#include "startup.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kx {

// The MIME types of the two record formats: the XML record (.kxr2) and the event log (.kxr).
inline const char* const kRecordMimeType = "application/x-kxreview-record";
inline const char* const kEventLogMimeType = "application/x-kxreview-log";
inline const char* const kDesktopFileName = "kxreview.desktop";

// The record association on a freedesktop system. When KX Review is installed (its desktop
// entry lies in one of the system's data folders, XDG_DATA_DIRS), the program only becomes
// the user's default for the record types. Otherwise the MIME package and a desktop entry
// that opens this executable are written under the user's XDG data folder (each replacing an
// older one only when complete), then the MIME database and the default handler are updated
// where the tools exist.
class XdgFileAssociation : public AssociationWriter {
  public:
    // Runs a helper program such as xdg-mime; its failure changes nothing for the user.
    using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;
    static void runToolIfPresent(const QString& program, const QStringList& arguments);

    // executable: the viewer's absolute path, written into a per-user desktop entry.
    explicit XdgFileAssociation(QString executable, ToolRunner runTool = runToolIfPresent)
        : executable_(std::move(executable)), runTool_(std::move(runTool)) {}

    QString writeAssociation() override;

    static QString mimePackageText();
    // The installed desktop entry with this executable in Exec and TryExec.
    QString desktopEntryText() const;
    // The path of the installed desktop entry in the system's data folders; empty when none.
    static QString installedDesktopEntry();

  private:
    QString executable_;
    ToolRunner runTool_;
};

} // namespace kx
