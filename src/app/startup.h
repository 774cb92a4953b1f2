#pragma once

#include "records/user_messages.h"

#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

namespace kx {

inline const char* const kMainWindowCaption = "Kexland Review v0.5";

// The record named on the command line: the arguments after the program name, joined by
// blanks, without leading blanks, with one double quote removed at the start and one at the
// end. The path keeps its letter case (file names here tell case apart). Nothing for an
// empty or blank command line.
std::optional<QString> startFileFromArguments(const QStringList& arguments);

// Writes the .kxr2 association for this user; each step that fails is skipped silently.
class AssociationWriter {
  public:
    virtual ~AssociationWriter() = default;
    virtual void writeAssociation() = 0;
};

// The per-user settings of the program: organisation "Velmora", application "KXReview",
// group "0.5".
QSettings* openSettings();

// Asks once whether to associate .kxr2 files with the program; on yes writes the
// association; after either answer remembers ("startup" = 1) that it has asked. Settings that
// cannot be written skip the step: the question is not asked.
void runAssociationStep(QSettings& settings, UserMessages& messages, AssociationWriter& writer);

inline const char* const kAssociationCaption = "Asociovat s .kxr2?";
inline const char* const kAssociationQuestion =
    "Chcete asociovat KXReview s .kxr2 soubory?\n"
    "Poté budete moci otevírat záznamy jako ostatní soubory - dvojklikem na ně.";

} // namespace kx
