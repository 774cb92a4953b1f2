#pragma once

#include <QSaveFile>
#include <QString>

struct spng_ctx;
class QImage;

namespace kx {

// Writes a PNG picture of true-colour rows that arrive a strip at a time, so that a large
// picture is never held whole. The file appears under its name only when finish() succeeds; a
// writer destroyed before that leaves no file and an existing one as it was.
class PngStreamWriter {
  public:
    PngStreamWriter() = default;
    ~PngStreamWriter();
    PngStreamWriter(const PngStreamWriter&) = delete;
    PngStreamWriter& operator=(const PngStreamWriter&) = delete;

    // Opens `path` for a picture of `width` x `height` pixels.
    bool open(const QString& path, int width, int height);
    // Appends the rows of `strip` (any format, exactly the picture's width), top to bottom.
    bool write(const QImage& strip);
    // After the last row: writes the end of the picture and puts the file in place.
    bool finish();
    // Why the last step failed (the system's reason where there is one).
    const QString& errorString() const { return error_; }

  private:
    bool fail(const QString& reason);
    static int writeBytes(spng_ctx* context, void* user, void* bytes, size_t length);

    QSaveFile file_;
    spng_ctx* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int written_ = 0; // rows
    QString error_;
};

} // namespace kx
