#pragma once

#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace kx {

// Writes all of `bytes` to `device`, continuing a write that falls short (a file size limit or
// a disk that fills up cuts a write short without a reason; the next write gives it). False
// when a write fails; the device then tells why.
bool writeAll(QIODevice& device, QByteArrayView bytes);

// Writes `bytes` as the file `path`: into a new file beside it that replaces `path` only when
// complete and on disk, so a failure leaves an existing file as it was and no other file
// behind. Returns the system's reason of a failure, or an empty text.
QString writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace kx
