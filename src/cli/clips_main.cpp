// kxrtool-clips: kxrtool's render and clip commands, which kxrtool runs in their place.

#include "cli_common.h"
#include "clip_commands.h"

#include <QFile>

namespace {

constexpr kx::cli::Command kCommands[] = {
    {"render", kx::cli::kRenderUsage, kx::cli::runRender},
    {"clip", kx::cli::kClipUsage, kx::cli::runClip},
};

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return kx::cli::dispatch(kCommands, arguments, KX_VERSION);
}
