#include "clip_job.h"

#include "clip_encoder.h"

namespace kx {

ClipJob::ClipJob(ClipRecord record, const ClipSettings& settings, ClipFormat format,
                 const QPalette& palette, const QFont& font)
    : record_(std::move(record)), settings_(settings), format_(format),
      frames_(record_, settings.from, settings.to, settings.pace),
      canvas_(frames_.world(), record_.gridSize, record_.players, settings, palette, font,
              ClipEncoder::needsEvenSize(format)) {}

QString ClipJob::cancelledText() {
    return QString::fromUtf8("Export klipu byl zrušen.");
}

ClipOutcome ClipJob::write(const QString& path, const Progress& progress) {
    ClipOutcome outcome;
    outcome.size = canvas_.size();
    outcome.error = frameSizeError(outcome.size, kMaxClipSide);
    if (!outcome.error.isEmpty())
        return outcome;
    if (!frames_.next()) {
        outcome.error =
            clipRangeError(settings_.from, settings_.to, record_.firstEvent, record_.eventCount());
        return outcome;
    }
    ClipEncoder encoder;
    if (!encoder.open(path, format_, canvas_.size(), settings_.fps,
                      format_ == ClipFormat::Gif ? canvas_.paletteSample() : QImage())) {
        outcome.error = encoder.errorString();
        return outcome;
    }
    int reported = -1;
    do {
        const int percent = frames_.percentDone();
        if (progress && percent != reported) {
            reported = percent;
            if (!progress(percent)) {
                outcome.cancelled = true;
                outcome.error = cancelledText();
                return outcome; // the encoder discards what it wrote
            }
        }
        if (!encoder.write(canvas_.draw(frames_.caption()))) {
            outcome.error = encoder.errorString();
            return outcome;
        }
        ++outcome.frames;
    } while (frames_.next());
    if (!encoder.finish()) {
        outcome.error = encoder.errorString();
        return outcome;
    }
    if (progress)
        progress(100);
    return outcome;
}

QImage renderRecordFrame(const ClipRecord& record, int32_t at, const ClipSettings& settings,
                         const QPalette& palette, const QFont& font, QString* error) {
    ClipFrames frames(record, at, at, FramePace::Event);
    if (!frames.next())
        return {};
    ClipSettings still = settings;
    still.caption = false;
    ClipCanvas canvas(frames.world(), record.gridSize, record.players, still, palette, font, false,
                      kMaxPictureSide);
    if (error)
        *error = frameSizeError(canvas.size(), kMaxPictureSide);
    return canvas.draw();
}

} // namespace kx
