// kxrtool: the headless command line over the core library.

#include "browse_command.h"
#ifdef KX_WITH_CLIPS
#include "clip_commands.h"
#endif
#include "cli_common.h"
#include "convert_command.h"
#include "library_commands.h"
#include "map_command.h"
#include "replay_command.h"
#include "stats_command.h"
#include "summary_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <vector>

namespace {

#ifdef KX_WITH_CLIPS
// Runs kxrtool-clips in this process's place for `command`: beside the bin folder in
// libexec/kxreview (the build tree, an installed program), else where it is installed.
int runClipsProgram(const char* command, const QStringList& args) {
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QStringList tried;
    for (const QString& dir : {programDir + QStringLiteral("/../libexec/kxreview"),
                               QStringLiteral(KX_CLIPS_HELPER_DIR)}) {
        const QByteArray program =
            QFile::encodeName(QDir::cleanPath(dir + QStringLiteral("/kxrtool-clips")));
        std::vector<QByteArray> words = {program, command};
        for (const QString& arg : args)
            words.push_back(QFile::encodeName(arg));
        std::vector<char*> argv;
        argv.reserve(words.size() + 1);
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execv(program.constData(), argv.data());
        tried.append(QFile::decodeName(program));
    }
    kx::cli::printError(QString::fromUtf8("Program pro obrázky a klipy chybí: %1")
                            .arg(tried.join(QStringLiteral(", "))));
    return kx::cli::kExitFailure;
}

int runRender(const QStringList& args) {
    return runClipsProgram("render", args);
}

int runClip(const QStringList& args) {
    return runClipsProgram("clip", args);
}
#endif

// Adding a command: write its function and add one line here.
constexpr kx::cli::Command kCommands[] = {
    {"convert", kx::cli::kConvertUsage, kx::cli::runConvert},
    {"replay", kx::kReplayUsage, kx::replayCommand},
    {"summary", kx::cli::kSummaryUsage, kx::cli::runSummary},
    {"browse", kx::cli::kBrowseUsage, kx::cli::runBrowse},
    {"stats", kx::cli::kStatsUsage, kx::cli::runStats},
    {"index", kx::cli::kIndexUsage, kx::cli::runIndex},
    {"query", kx::cli::kQueryUsage, kx::cli::runQuery},
    {"players", kx::cli::kPlayersUsage, kx::cli::runPlayers},
    {"bookmarks", kx::cli::kBookmarksUsage, kx::cli::runBookmarks},
    {"map", kx::cli::kMapUsage, kx::cli::runMap},
#ifdef KX_WITH_CLIPS
    {"render", kx::cli::kRenderUsage, runRender},
    {"clip", kx::cli::kClipUsage, runClip},
#endif
};

} // namespace

int main(int argc, char* argv[]) {
    return kx::cli::dispatch(kCommands, kx::cli::programArguments(argc, argv), KX_VERSION);
}
