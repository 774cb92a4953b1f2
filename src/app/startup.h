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

// Writes the .kxr2 association for this user. A step that fails is skipped; the result is
// the message that tells the first failure and why, or an empty text.
class AssociationWriter {
  public:
    virtual ~AssociationWriter() = default;
    virtual QString writeAssociation() = 0;
};

// The per-user settings of the program: organisation "Velmora", application "KXReview",
// group "0.5".
QSettings* openSettings();

// Asks once whether to associate .kxr2 files with the program; on yes writes the
// association (showing the writer's message when a part failed); after either answer
// remembers ("startup" = 1) that it has asked. Settings that cannot be written skip the step:
// the question is not asked.
void runAssociationStep(QSettings& settings, UserMessages& messages, AssociationWriter& writer);

// Why the settings file at `path` cannot be written, in the system's words; empty when it
// can. The folder is created as a write of the settings would; nothing else is left behind.
QString settingsWriteProblem(const QString& path);

// When the settings cannot be saved (a write failed or the file cannot be written), tells
// `messages` so once for `settings`, with the file and the reason; later calls say nothing.
// The program goes on with the values it holds. Returns whether something was shown.
bool reportSettingsTrouble(QSettings& settings, UserMessages& messages);

inline const char* const kSettingsUnsaved = "Nastavení nelze uložit do souboru:\n%1\n%2\n\n"
                                            "Program pracuje dál, ale změny nastavení (naposledy "
                                            "otevřené záznamy, rozložení oken) se neuchovají.";

inline const char* const kAssociationCaption = "Asociovat s .kxr2?";
inline const char* const kAssociationQuestion =
    "Chcete asociovat KXReview s .kxr2 soubory?\n"
    "Poté budete moci otevírat záznamy jako ostatní soubory - dvojklikem na ně.";

} // namespace kx
