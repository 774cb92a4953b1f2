// The encoding module: FFmpeg's libraries behind ClipEncoderBackend, loaded by ClipEncoder
// when the first clip is written.
#include "clips/ui/clip_encoder_backend.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QDir>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace kx {

namespace {

constexpr int kIoBufferSize = 64 * 1024;

// The encoders tried for a format, the preferred first.
std::vector<const char*> encoderChoices(ClipFormat format) {
    switch (format) {
    case ClipFormat::Mp4:
        return {"libx264", "libopenh264", "mpeg4"};
    case ClipFormat::WebM:
        return {"libvpx-vp9"};
    case ClipFormat::Gif:
        return {"gif"};
    case ClipFormat::WebP:
        return {"libwebp_anim"};
    }
    return {};
}

const AVCodec* findEncoder(ClipFormat format) {
    for (const char* name : encoderChoices(format))
        if (const AVCodec* codec = avcodec_find_encoder_by_name(name))
            return codec;
    return nullptr;
}

QString averrorText(int averror) {
    std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
    av_strerror(averror, text.data(), text.size());
    return QString::fromUtf8(text.data());
}

// The file behind FFmpeg's output: a QSaveFile, so that only a finished clip replaces a file.
int writeBytes(void* opaque, uint8_t* bytes, int size) {
    auto* file = static_cast<QSaveFile*>(opaque);
    return file->write(reinterpret_cast<const char*>(bytes), size) == size ? size : AVERROR(EIO);
}

int64_t seekTo(void* opaque, int64_t offset, int whence) {
    auto* file = static_cast<QSaveFile*>(opaque);
    if (whence & AVSEEK_SIZE)
        return file->size();
    whence &= ~AVSEEK_FORCE;
    const int64_t target = whence == SEEK_SET   ? offset
                           : whence == SEEK_CUR ? file->pos() + offset
                           : whence == SEEK_END ? file->size() + offset
                                                : -1;
    return target >= 0 && file->seek(target) ? target : AVERROR(EIO);
}

// Up to 256 colours for a GIF: every colour of the sample when there are no more, else the
// most frequent ones; a colour outside the palette takes its nearest entry.
class GifPalette {
  public:
    explicit GifPalette(const QImage& sample) {
        QHash<QRgb, qint64> counts;
        for (int y = 0; y < sample.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(sample.constScanLine(y));
            for (int x = 0; x < sample.width(); ++x)
                ++counts[row[x] | 0xff000000u];
        }
        std::vector<std::pair<qint64, QRgb>> byCount;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            byCount.emplace_back(it.value(), it.key());
        std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        for (const auto& entry : byCount) {
            if (colours_.size() == 256)
                break;
            indexes_.insert(entry.second, uint8_t(colours_.size()));
            colours_.push_back(entry.second);
        }
        if (colours_.empty())
            colours_.push_back(0xff000000u);
    }

    uint8_t indexOf(QRgb colour) {
        colour |= 0xff000000u;
        if (colour == lastColour_)
            return lastIndex_;
        auto found = indexes_.constFind(colour);
        if (found == indexes_.cend())
            found = indexes_.insert(colour, nearest(colour));
        lastColour_ = colour;
        lastIndex_ = found.value();
        return lastIndex_;
    }
    const std::vector<uint32_t>& colours() const { return colours_; }

  private:
    uint8_t nearest(QRgb colour) const {
        size_t best = 0;
        int bestDistance = INT_MAX;
        for (size_t i = 0; i < colours_.size(); ++i) {
            const int r = qRed(colour) - qRed(colours_[i]);
            const int g = qGreen(colour) - qGreen(colours_[i]);
            const int b = qBlue(colour) - qBlue(colours_[i]);
            const int distance = r * r + g * g + b * b;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return uint8_t(best);
    }

    std::vector<uint32_t> colours_;
    QHash<QRgb, uint8_t> indexes_;
    QRgb lastColour_ = 0;
    uint8_t lastIndex_ = 0;
};

// The extension of a format, without the dot; also the muxer's name.
const char* extensionOf(ClipFormat format) {
    switch (format) {
    case ClipFormat::Mp4:
        return "mp4";
    case ClipFormat::WebM:
        return "webm";
    case ClipFormat::Gif:
        return "gif";
    case ClipFormat::WebP:
        return "webp";
    }
    return "";
}

bool needsEvenSize(ClipFormat format) {
    return format == ClipFormat::Mp4 || format == ClipFormat::WebM;
}

class FfmpegClipEncoder : public ClipEncoderBackend {
  public:
    ~FfmpegClipEncoder() override;
    bool open(const QString& path, ClipFormat format, QSize size, int fps,
              const QImage& paletteSample) override;
    bool write(const QImage& image) override;
    bool finish() override;
    QString errorString() const override { return error_; }

  private:
    struct Codec;
    bool fail(const QString& reason);
    bool fail(const QString& what, int averror);
    bool drain();

    std::unique_ptr<Codec> codec_;
    QSaveFile file_;
    QString error_;
};

} // namespace

struct FfmpegClipEncoder::Codec {
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* context = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::unique_ptr<GifPalette> palette;
    QSize size;
    int64_t next = 0;
    bool headerWritten = false;
    bool ended = false;

    ~Codec() {
        // A file given up after its header: the muxer releases what it holds only when the
        // file is ended (the GIF muxer keeps a packet); what it writes is thrown away.
        if (headerWritten && !ended)
            av_write_trailer(format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        avformat_free_context(format);
        avcodec_free_context(&context);
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
};

FfmpegClipEncoder::~FfmpegClipEncoder() {
    codec_.reset(); // before the file it writes to
}

bool FfmpegClipEncoder::fail(const QString& reason) {
    error_ = reason;
    codec_.reset();
    file_.cancelWriting();
    return false;
}

bool FfmpegClipEncoder::fail(const QString& what, int averror) {
    // A write that failed has the file's own reason.
    if (averror == AVERROR(EIO) && file_.error() != QFileDevice::NoError)
        return fail(what + QStringLiteral(": ") + file_.errorString());
    return fail(what + QStringLiteral(": ") + averrorText(averror));
}

bool FfmpegClipEncoder::open(const QString& path, ClipFormat format, QSize size, int fps,
                             const QImage& paletteSample) {
    codec_.reset();
    error_.clear();
    av_log_set_level(AV_LOG_ERROR); // the libraries' notes are not the user's business
    const AVCodec* encoder = findEncoder(format);
    if (!encoder) {
        QStringList names;
        for (const char* name : encoderChoices(format))
            names.append(QString::fromLatin1(name));
        return fail(QString::fromUtf8("Klip %1 nelze vytvořit: knihovny FFmpeg tohoto systému "
                                      "nemají kodér %2.")
                        .arg(QString::fromLatin1(extensionOf(format)).toUpper(),
                             names.join(QString::fromUtf8(" ani "))));
    }
    if (size.width() < 1 || size.height() < 1 || fps < 1 ||
        (needsEvenSize(format) && (size.width() % 2 || size.height() % 2)))
        return fail(QString::fromUtf8("Klip nemá platnou velikost %1 × %2 pixelů.")
                        .arg(size.width())
                        .arg(size.height()));
    const QString target = QDir::toNativeSeparators(path);
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly))
        return fail(QString::fromUtf8("Klip nelze uložit do souboru %1: %2")
                        .arg(target, file_.errorString()));

    codec_ = std::make_unique<Codec>();
    Codec& c = *codec_;
    c.size = size;
    const QByteArray muxer(extensionOf(format));
    const QString writing = QString::fromUtf8("Klip nelze uložit do souboru %1").arg(target);
    int result = avformat_alloc_output_context2(&c.format, nullptr, muxer.constData(), nullptr);
    if (result < 0)
        return fail(writing, result);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    c.io = avio_alloc_context(buffer, kIoBufferSize, 1, &file_, nullptr, writeBytes, seekTo);
    if (!c.io) {
        av_free(buffer);
        return fail(writing, AVERROR(ENOMEM));
    }
    c.format->pb = c.io;
    c.format->flags |= AVFMT_FLAG_CUSTOM_IO;

    c.context = avcodec_alloc_context3(encoder);
    AVCodecContext& context = *c.context;
    context.width = size.width();
    context.height = size.height();
    context.time_base = AVRational{1, fps};
    context.framerate = AVRational{fps, 1};
    context.pix_fmt = format == ClipFormat::Gif ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_YUV420P;
    const QByteArray name(encoder->name);
    if (name == "libx264") {
        av_opt_set(context.priv_data, "preset", "veryfast", 0);
        av_opt_set(context.priv_data, "tune", "animation", 0);
        av_opt_set(context.priv_data, "crf", "18", 0);
    } else if (name == "libvpx-vp9") {
        context.bit_rate = 0;
        av_opt_set(context.priv_data, "deadline", "realtime", 0);
        av_opt_set(context.priv_data, "cpu-used", "8", 0);
        av_opt_set(context.priv_data, "row-mt", "1", 0);
        av_opt_set(context.priv_data, "crf", "30", 0);
    } else if (name == "libwebp_anim") {
        av_opt_set(context.priv_data, "lossless", "1", 0);
    } else if (name == "mpeg4" || name == "libopenh264") {
        context.bit_rate = int64_t{size.width()} * size.height() * fps / 4;
    }
    if (c.format->oformat->flags & AVFMT_GLOBALHEADER)
        context.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const QString encoding =
        QString::fromUtf8("Kodér %1 nelze spustit").arg(QString::fromLatin1(name));
    if ((result = avcodec_open2(&context, encoder, nullptr)) < 0)
        return fail(encoding, result);

    c.stream = avformat_new_stream(c.format, nullptr);
    if (!c.stream)
        return fail(writing, AVERROR(ENOMEM));
    if ((result = avcodec_parameters_from_context(c.stream->codecpar, &context)) < 0)
        return fail(writing, result);
    c.stream->time_base = context.time_base;
    c.stream->avg_frame_rate = context.framerate;
    // An animated WebP plays in a loop, as a GIF does.
    AVDictionary* muxerOptions = nullptr;
    if (format == ClipFormat::WebP)
        av_dict_set(&muxerOptions, "loop", "0", 0);
    result = avformat_write_header(c.format, &muxerOptions);
    av_dict_free(&muxerOptions);
    if (result < 0)
        return fail(writing, result);
    c.headerWritten = true;

    c.frame = av_frame_alloc();
    c.packet = av_packet_alloc();
    if (!c.frame || !c.packet)
        return fail(writing, AVERROR(ENOMEM));
    c.frame->format = context.pix_fmt;
    c.frame->width = size.width();
    c.frame->height = size.height();
    if ((result = av_frame_get_buffer(c.frame, 0)) < 0)
        return fail(writing, result);
    if (format == ClipFormat::Gif) {
        c.palette =
            std::make_unique<GifPalette>(paletteSample.convertToFormat(QImage::Format_RGB32));
    } else {
        c.scaler = sws_getContext(size.width(), size.height(), AV_PIX_FMT_RGB32, size.width(),
                                  size.height(), context.pix_fmt, SWS_BICUBIC | SWS_ACCURATE_RND,
                                  nullptr, nullptr, nullptr);
        if (!c.scaler)
            return fail(writing, AVERROR(ENOMEM));
    }
    return true;
}

bool FfmpegClipEncoder::write(const QImage& image) {
    if (!codec_)
        return false;
    Codec& c = *codec_;
    const QString writing = QString::fromUtf8("Klip nelze uložit do souboru %1")
                                .arg(QDir::toNativeSeparators(file_.fileName()));
    if (image.size() != c.size)
        return fail(QString::fromUtf8("Snímek klipu má jinou velikost než klip."));
    int result = av_frame_make_writable(c.frame);
    if (result < 0)
        return fail(writing, result);
    const QImage frame = image.format() == QImage::Format_RGB32
                             ? image
                             : image.convertToFormat(QImage::Format_RGB32);
    if (c.palette) {
        for (int y = 0; y < c.size.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            uint8_t* to = c.frame->data[0] + qsizetype(y) * c.frame->linesize[0];
            for (int x = 0; x < c.size.width(); ++x)
                to[x] = c.palette->indexOf(from[x]);
        }
        auto* colours = reinterpret_cast<uint32_t*>(c.frame->data[1]);
        std::fill_n(colours, 256, 0xff000000u);
        std::copy(c.palette->colours().begin(), c.palette->colours().end(), colours);
    } else {
        const uint8_t* planes[1] = {frame.constBits()};
        const int strides[1] = {int(frame.bytesPerLine())};
        sws_scale(c.scaler, planes, strides, 0, c.size.height(), c.frame->data, c.frame->linesize);
    }
    c.frame->pts = c.next++;
#if LIBAVUTIL_VERSION_MAJOR >= 58
    c.frame->duration = 1;
#else
    c.frame->pkt_duration = 1;
#endif
    if ((result = avcodec_send_frame(c.context, c.frame)) < 0)
        return fail(writing, result);
    return drain();
}

bool FfmpegClipEncoder::drain() {
    Codec& c = *codec_;
    for (;;) {
        const int received = avcodec_receive_packet(c.context, c.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        const QString writing = QString::fromUtf8("Klip nelze uložit do souboru %1")
                                    .arg(QDir::toNativeSeparators(file_.fileName()));
        if (received < 0)
            return fail(writing, received);
        // Every frame lasts one frame's time, the last one too.
        if (c.packet->duration <= 0)
            c.packet->duration = 1;
        av_packet_rescale_ts(c.packet, c.context->time_base, c.stream->time_base);
        c.packet->stream_index = c.stream->index;
        const int written = av_interleaved_write_frame(c.format, c.packet);
        if (written < 0)
            return fail(writing, written);
    }
}

bool FfmpegClipEncoder::finish() {
    if (!codec_)
        return false;
    Codec& c = *codec_;
    const QString writing = QString::fromUtf8("Klip nelze uložit do souboru %1")
                                .arg(QDir::toNativeSeparators(file_.fileName()));
    int result = avcodec_send_frame(c.context, nullptr);
    if (result < 0)
        return fail(writing, result);
    if (!drain())
        return false;
    c.ended = true;
    if ((result = av_write_trailer(c.format)) < 0)
        return fail(writing, result);
    avio_flush(c.io);
    if (c.io->error < 0)
        return fail(writing, c.io->error);
    codec_.reset();
    if (!file_.commit())
        return fail(writing + QStringLiteral(": ") + file_.errorString());
    return true;
}

} // namespace kx

extern "C" Q_DECL_EXPORT kx::ClipEncoderBackend* kxNewClipEncoder() {
    return new kx::FfmpegClipEncoder;
}

extern "C" Q_DECL_EXPORT void kxClipEncoderNameOf(kx::ClipFormat format, QString* name) {
    const AVCodec* codec = kx::findEncoder(format);
    *name = codec ? QString::fromLatin1(codec->name) : QString();
}
