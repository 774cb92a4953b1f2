#pragma once

#include "records/record_format.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace kx {
class LineList;
}

namespace kx::cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1, // the file cannot be read, or the command's own failure
    kExitUsage = 2,   // unknown command or option, missing or extra argument
};

// A sub-command of kxrtool. `usage` is its synopsis without the program name, such as
// "convert SOUBOR"; `run` gets the arguments after the command's name.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

// Runs the command named by the first argument; a usage error when there is none. "--help"
// or "-h" (alone, or right after a command's name) prints the usage and "--version" the
// version on standard output, with kExitOk.
int dispatch(std::span<const Command> commands, const QStringList& arguments, const char* version);

// A program's arguments after its name, decoded as file names are.
QStringList programArguments(int argc, char* argv[]);

// Prints one line to standard output, UTF-8.
void printOut(const QString& text);
// Prints one line to standard error, UTF-8.
void printError(const QString& text);
// Prints "Použití: kxrtool " + usage to standard error and gives kExitUsage.
int usageError(const char* usage);
// An argument that starts with '-' (and is not just "-").
bool isOption(const QString& argument);

// How FILE is read: "xml" or "log" as given with --as, otherwise by its name as the viewer
// takes it (a ".kxr2" name as XML). nullopt for any other --as value.
std::optional<RecordFormat> recordFormatFor(const QString& file, const QString& as);

// Writes every line followed by CR LF to standard output, as bytes; false on a write error.
bool writeLines(const LineList& lines);

} // namespace kx::cli
