#pragma once

#include "clip_canvas.h"

#include "clips/clip_frames.h"

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>

#include <functional>

namespace kx {

// How writing a clip ended: an empty error on success.
struct ClipOutcome {
    QString error;
    int frames = 0;
    QSize size;
    bool cancelled = false;
};

// A clip ready to be written: the record, the settings and a canvas of its own. Made on the
// window's thread, from a copy of the record, so that it can be written on another thread
// while the window goes on.
class ClipJob {
  public:
    // Told the share done in per cent; returning false cancels.
    using Progress = std::function<bool(int percent)>;

    // The settings' range must lie within the record (clipRangeError says nothing).
    ClipJob(ClipRecord record, const ClipSettings& settings, ClipFormat format,
            const QPalette& palette, const QFont& font);

    QSize frameSize() const { return canvas_.size(); }

    // Writes the clip to `path`; a failed or cancelled write leaves no file and an existing
    // one as it was. Once, on any thread.
    ClipOutcome write(const QString& path, const Progress& progress = {});

    // The text a cancelled write gives.
    static QString cancelledText();

  private:
    ClipRecord record_;
    ClipSettings settings_;
    ClipFormat format_;
    ClipFrames frames_;
    ClipCanvas canvas_;
};

// The map at event `at` as the window shows it there (view, highlight and zoom from
// `settings`), drawn by the map renderer. `at` must lie within the record. A null image, and why in
// `error`, for a picture beyond kMaxPictureSide.
QImage renderRecordFrame(const ClipRecord& record, int32_t at, const ClipSettings& settings,
                         const QPalette& palette, const QFont& font, QString* error = nullptr);

} // namespace kx
