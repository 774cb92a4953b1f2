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

#include <QFile>

namespace {

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
    {"render", kx::cli::kRenderUsage, kx::cli::runRender},
    {"clip", kx::cli::kClipUsage, kx::cli::runClip},
#endif
};

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return kx::cli::dispatch(kCommands, arguments, KX_VERSION);
}
