#pragma once

#include "clips/clip_options.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace kx {

// What the encoding module (FFmpeg's libraries, loaded when the first clip is written) does
// for ClipEncoder; see there.
class ClipEncoderBackend {
  public:
    virtual ~ClipEncoderBackend() = default;
    virtual bool open(const QString& path, ClipFormat format, QSize size, int fps,
                      const QImage& paletteSample) = 0;
    virtual bool write(const QImage& frame) = 0;
    virtual bool finish() = 0;
    virtual QString errorString() const = 0;
};

// The module's entry points, by these names.
using NewClipEncoder = ClipEncoderBackend* (*)();
using ClipEncoderNameOf = void (*)(ClipFormat format, QString* name);
inline constexpr const char* kNewClipEncoder = "kxNewClipEncoder";
inline constexpr const char* kClipEncoderNameOf = "kxClipEncoderNameOf";

} // namespace kx
