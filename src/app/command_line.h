#pragma once

#include <QString>
#include <QStringList>

namespace kx {

// What the viewer's command line asks for before any window exists.
enum class ViewerAction {
    Run,        // open the viewer (with the record named, if any)
    Help,       // print the usage on standard output, exit 0
    Version,    // print the version on standard output, exit 0
    UsageError, // print the message and the usage on standard error, exit 2
};

struct ViewerCommandLine {
    ViewerAction action = ViewerAction::Run;
    QString error; // for UsageError
};

// arguments: those after the program name. "--help", "-h" and "--version" stand alone; any
// other argument that starts with "--" first is an unknown option. Everything else is a
// record path (and the toolkit's own options, such as -platform).
ViewerCommandLine parseViewerCommandLine(const QStringList& arguments);

// The usage text of kxreview, several lines, without a final line break.
QString viewerUsage();

} // namespace kx
