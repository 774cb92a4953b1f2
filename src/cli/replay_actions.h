#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kx {

class ReplaySession;

// One user action on the main window, parsed from the --do list.
struct ReplayAction {
    enum Kind {
        Forward,
        Forward10,
        Back,
        Back10,
        End,
        Next,
        Select,
        Point,
        Highlight,
        View,
        Start,
        Stop,
        Tick,
        EditInterval
    };
    Kind kind;
    int number = 0; // sel:I, hl:0/1, view:V, and the column of pt:
    int row = 0;    // the row of pt:
    QString text;   // ed:TEXT
};

// Parses a comma-separated action list; nullopt (and the offending action in *bad) for an
// unknown or malformed action.
std::optional<std::vector<ReplayAction>> parseReplayActions(const QString& list, QString* bad);

// Does what the user does in the main window; an action on a control the user cannot reach
// at that moment does nothing.
void performReplayAction(ReplaySession& session, const ReplayAction& action);

} // namespace kx
