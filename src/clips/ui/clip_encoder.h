#pragma once

#include "clips/clip_options.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace kx {

class ClipEncoderBackend;

// Writes frames into a video or an animated picture through FFmpeg's libraries: H.264 (or
// MPEG-4 part 2 where Debian's build lacks it) in MP4, VP9 in WebM, GIF with a palette of the
// clip's own colours, animated WebP. The file appears under its name only when finish()
// succeeds; an encoder destroyed before that leaves no file and an existing one as it was.
// FFmpeg's libraries and theirs are many: they live in a module of their own, loaded when
// the first clip is written, so that starting the programs does not load them.
class ClipEncoder {
  public:
    ClipEncoder();
    ~ClipEncoder();
    ClipEncoder(const ClipEncoder&) = delete;
    ClipEncoder& operator=(const ClipEncoder&) = delete;

    // The encoder FFmpeg offers for a format, or an empty text when this system has none.
    static QString encoderName(ClipFormat format);
    // Whether the format's frames must have an even width and height (4:2:0 video).
    static bool needsEvenSize(ClipFormat format) {
        return format == ClipFormat::Mp4 || format == ClipFormat::WebM;
    }

    // Opens `path` for frames of `size` shown `fps` a second. `paletteSample` holds every
    // colour the clip will show, for the GIF palette (other formats ignore it).
    bool open(const QString& path, ClipFormat format, QSize size, int fps,
              const QImage& paletteSample = {});
    // Appends one frame of exactly the opened size.
    bool write(const QImage& frame);
    // After the last frame: drains the encoder, ends the file and puts it in place.
    bool finish();

    // Why the last step failed.
    QString errorString() const;

  private:
    std::unique_ptr<ClipEncoderBackend> backend_;
    QString error_;
};

} // namespace kx
