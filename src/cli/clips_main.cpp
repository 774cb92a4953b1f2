// kxrtool-clips: kxrtool's render and clip commands, which kxrtool runs in their place.

#include "cli_common.h"
#include "clip_commands.h"

namespace {

constexpr kx::cli::Command kCommands[] = {
    {"render", kx::cli::kRenderUsage, kx::cli::runRender},
    {"clip", kx::cli::kClipUsage, kx::cli::runClip},
};

} // namespace

int main(int argc, char* argv[]) {
    return kx::cli::dispatch(kCommands, kx::cli::programArguments(argc, argv), KX_VERSION);
}
