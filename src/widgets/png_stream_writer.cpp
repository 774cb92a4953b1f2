#include "png_stream_writer.h"

#include "records/atomic_file.h"

#include <QImage>

#include <spng.h>

namespace kx {

PngStreamWriter::~PngStreamWriter() {
    if (context_)
        spng_ctx_free(context_);
    // An unfinished QSaveFile is discarded when it goes.
}

int PngStreamWriter::writeBytes(spng_ctx*, void* user, void* bytes, size_t length) {
    auto& file = *static_cast<QSaveFile*>(user);
    return writeAll(file, QByteArrayView(static_cast<const char*>(bytes), qsizetype(length)))
               ? 0
               : SPNG_IO_ERROR;
}

bool PngStreamWriter::fail(const QString& reason) {
    error_ = file_.error() != QFileDevice::NoError ? file_.errorString() : reason;
    file_.cancelWriting();
    return false;
}

bool PngStreamWriter::open(const QString& path, int width, int height) {
    width_ = width;
    height_ = height;
    file_.setFileName(path);
    if (width < 1 || height < 1)
        return fail(QStringLiteral("empty picture"));
    // Unbuffered: a buffered flush takes a short write for success and would commit a cut file.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file_.errorString());
    context_ = spng_ctx_new(SPNG_CTX_ENCODER);
    if (!context_)
        return fail(QStringLiteral("out of memory"));
    spng_ihdr header{};
    header.width = uint32_t(width);
    header.height = uint32_t(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    // A fast setting: a map's large even areas compress well at any level.
    int status = spng_set_png_stream(context_, &PngStreamWriter::writeBytes, &file_);
    if (status == 0)
        status = spng_set_ihdr(context_, &header);
    if (status == 0)
        status = spng_set_option(context_, SPNG_IMG_COMPRESSION_LEVEL, 3);
    if (status == 0)
        status = spng_encode_image(context_, nullptr, 0, SPNG_FMT_PNG,
                                   SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    return status == 0 || fail(QString::fromUtf8(spng_strerror(status)));
}

bool PngStreamWriter::write(const QImage& strip) {
    if (!context_ || !error_.isEmpty())
        return false;
    if (strip.width() != width_ || written_ + strip.height() > height_)
        return fail(QStringLiteral("strip does not fit the picture"));
    const QImage rows = strip.convertToFormat(QImage::Format_RGB888);
    const auto length = size_t(width_) * 3;
    for (int y = 0; y < rows.height(); ++y) {
        const int status = spng_encode_row(context_, rows.constScanLine(y), length);
        ++written_;
        // The last row ends the picture.
        if (status != 0 && !(status == SPNG_EOI && written_ == height_))
            return fail(QString::fromUtf8(spng_strerror(status)));
    }
    return true;
}

bool PngStreamWriter::finish() {
    if (!context_ || !error_.isEmpty())
        return false;
    if (written_ != height_)
        return fail(QStringLiteral("picture not complete"));
    spng_ctx_free(context_);
    context_ = nullptr;
    return file_.commit() || fail(file_.errorString());
}

} // namespace kx
