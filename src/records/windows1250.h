#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kx {

// Records and map files are Windows-1250 text. Record lines stay in their file bytes inside
// the core (one byte a character, shared buffers) and are decoded where text is shown.
QString decodeWindows1250(QByteArrayView bytes);

// Encodes text for a file; nullopt when some character has no Windows-1250 byte, so that no
// silent substitute is ever written.
std::optional<QByteArray> encodeWindows1250(const QString& text);

// The first character of text that Windows-1250 cannot hold, or -1 when all fit.
qsizetype firstUnencodableWindows1250(const QString& text);

} // namespace kx
