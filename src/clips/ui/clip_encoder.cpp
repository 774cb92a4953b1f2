#include "clip_encoder.h"

#include "clip_encoder_backend.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kx {

namespace {

// The encoding module, looked for beside the program (in its folder, or in libexec/kxreview
// beside its bin folder, in the build tree as where it is installed), loaded once and never
// unloaded.
struct EncoderModule {
    NewClipEncoder create = nullptr;
    ClipEncoderNameOf nameOf = nullptr;
    QString error;
};

const EncoderModule& encoderModule() {
    static const EncoderModule module = [] {
        EncoderModule loaded;
        const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        QStringList tried;
        for (const QString& dir : {programDir, programDir + QStringLiteral("/../libexec/kxreview"),
                                   QStringLiteral(KX_CLIP_MODULE_DIR)}) {
            QLibrary library(QDir::cleanPath(dir) + QStringLiteral("/libkxclipencoder.so"));
            if (!library.load()) {
                tried.append(library.errorString());
                continue;
            }
            loaded.create = reinterpret_cast<NewClipEncoder>(library.resolve(kNewClipEncoder));
            loaded.nameOf =
                reinterpret_cast<ClipEncoderNameOf>(library.resolve(kClipEncoderNameOf));
            if (loaded.create && loaded.nameOf)
                return loaded;
            tried.append(library.errorString());
        }
        loaded.create = nullptr;
        loaded.nameOf = nullptr;
        loaded.error = QString::fromUtf8("Knihovnu pro kódování klipů nelze načíst: %1")
                           .arg(tried.join(QStringLiteral("; ")));
        return loaded;
    }();
    return module;
}

} // namespace

ClipEncoder::ClipEncoder() = default;
ClipEncoder::~ClipEncoder() = default;

QString ClipEncoder::encoderName(ClipFormat format) {
    const EncoderModule& module = encoderModule();
    QString name;
    if (module.nameOf)
        module.nameOf(format, &name);
    return name;
}

bool ClipEncoder::open(const QString& path, ClipFormat format, QSize size, int fps,
                       const QImage& paletteSample) {
    const EncoderModule& module = encoderModule();
    if (!module.create) {
        error_ = module.error;
        return false;
    }
    backend_.reset(module.create());
    return backend_->open(path, format, size, fps, paletteSample);
}

bool ClipEncoder::write(const QImage& frame) {
    return backend_ && backend_->write(frame);
}

bool ClipEncoder::finish() {
    return backend_ && backend_->finish();
}

QString ClipEncoder::errorString() const {
    return backend_ ? backend_->errorString() : error_;
}

} // namespace kx
