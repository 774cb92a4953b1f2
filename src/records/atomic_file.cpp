#include "atomic_file.h"

#include <QIODevice>
#include <QSaveFile>

namespace kx {

bool writeAll(QIODevice& device, QByteArrayView bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

QString writeFileAtomically(const QString& path, QByteArrayView bytes) {
    // Unbuffered: a buffered flush takes a short write for success and would commit a cut file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, bytes) ||
        !file.commit())
        return file.errorString();
    return {};
}

} // namespace kx
