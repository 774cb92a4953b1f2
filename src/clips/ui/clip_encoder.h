#pragma once

#include "clips/clip_options.h"

#include <QImage>
#include <QSaveFile>
#include <QSize>
#include <QString>

#include <memory>

namespace kx {

// Writes frames into a video or an animated picture through FFmpeg's libraries: H.264 (or
// MPEG-4 part 2 where Debian's build lacks it) in MP4, VP9 in WebM, GIF with a palette of the
// clip's own colours, animated WebP. The file appears under its name only when finish()
// succeeds; an encoder destroyed before that leaves no file and an existing one as it was.
class ClipEncoder {
  public:
    ClipEncoder();
    ~ClipEncoder();
    ClipEncoder(const ClipEncoder&) = delete;
    ClipEncoder& operator=(const ClipEncoder&) = delete;

    // The encoder FFmpeg offers for a format, or an empty text when this system has none.
    static QString encoderName(ClipFormat format);
    // Whether the format's frames must have an even width and height (4:2:0 video).
    static bool needsEvenSize(ClipFormat format);

    // Opens `path` for frames of `size` shown `fps` a second. `paletteSample` holds every
    // colour the clip will show, for the GIF palette (other formats ignore it).
    bool open(const QString& path, ClipFormat format, QSize size, int fps,
              const QImage& paletteSample = {});
    // Appends one frame of exactly the opened size.
    bool write(const QImage& frame);
    // After the last frame: drains the encoder, ends the file and puts it in place.
    bool finish();

    // Why the last step failed.
    const QString& errorString() const { return error_; }

  private:
    struct Codec;
    bool fail(const QString& reason);
    bool fail(const QString& what, int averror);
    bool drain();

    std::unique_ptr<Codec> codec_;
    QSaveFile file_;
    QString error_;
};

} // namespace kx
