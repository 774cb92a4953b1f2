#pragma once

#include "main_state.h"

#include "records/record_loader.h"
#include "records/user_messages.h"

#include <QString>

namespace kx {

class RecordPrefetch;

// How a record chosen in the open dialog is read: a name ending in ".kxr2" or ".kxr" (any
// letter case) by its extension, any other name by the filter chosen (kFilterXml or
// kFilterEventLog).
RecordFormat recordFormatForDialogChoice(const QString& path, int filterIndex);

// The open dialog; exec() returns false when the user cancels, else sets fileName and
// filterIndex of the state it is given.
class OpenDialog {
  public:
    virtual ~OpenDialog() = default;
    virtual bool exec(OpenDialogState& dialog) = 0;
};

// Loads a record into the window's state: the event list and the initial world. On any
// failure the message is shown and the record that was loaded before stays whole and usable.
// A prefetch, when given, is the read of this file, started from the state's world.
LoadStatus loadRecord(MainState& state, const QString& path, RecordFormat format,
                      UserMessages& messages, ActivityObserver* observer,
                      RecordPrefetch* prefetch = nullptr);

// Builds the world again from the first items of the event list; shows a message and returns
// false for a damaged record. Clears and refills the player list.
bool buildWorld(MainState& state, UserMessages& messages);

// "&Otevřít": asks for a file (starting in the current record's folder) and loads it in the
// format its name or the filter chosen gives (recordFormatForDialogChoice); the chosen filter
// stays selected.
bool mmFileOpenClick(MainState& state, OpenDialog& dialog, UserMessages& messages,
                     ActivityObserver* observer);

// "Pokračovat": shows the map again and reloads the current record in the same format.
bool btnNextClick(MainState& state, UserMessages& messages, ActivityObserver* observer);

} // namespace kx
