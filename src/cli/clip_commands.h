#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kRenderUsage =
    "render SOUBOR [--as xml|log] --at AKCE [--view all|louka|les|nahled] [--highlight HRÁČ] "
    "[--scale N] -o VÝSTUP.png";
inline constexpr const char* kClipUsage =
    "clip SOUBOR [--as xml|log] --from AKCE --to AKCE [--per event|hour] [--fps N] "
    "[--view all|louka|les|nahled] [--highlight HRÁČ] [--scale N] [--caption] "
    "-o VÝSTUP.mp4|webm|gif|webp";

// kxrtool render: the map at one event (numbered as "Akce i z N"), drawn offscreen by the
// window's map renderer, as a PNG picture; prints {"width", "height"}.
int runRender(const QStringList& args);

// kxrtool clip: one frame per event (or per game hour) of a range, encoded as a video or an
// animated picture; prints {"frames", "width", "height", "fps"}.
int runClip(const QStringList& args);

} // namespace kx::cli
