#pragma once

#include "startup.h"

#include <QString>

namespace kx {

inline const char* const kRecordMimeType = "application/x-kxreview-record";
inline const char* const kDesktopFileName = "kxreview.desktop";

// The .kxr2 association on a freedesktop system: a shared-mime-info package for the type and
// a desktop entry that opens the viewer with the file, both under the user's XDG data
// directory, then the MIME database and the default handler are updated where the tools
// exist.
class XdgFileAssociation : public AssociationWriter {
  public:
    // executable: the viewer's absolute path, written into the desktop entry.
    explicit XdgFileAssociation(QString executable, bool runTools = true)
        : executable_(std::move(executable)), runTools_(runTools) {}

    void writeAssociation() override;

    static QString mimePackageText();
    QString desktopEntryText() const;

  private:
    QString executable_;
    bool runTools_;
};

} // namespace kx
