#include "windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace kx {

namespace {

// One decoded character per byte, taken once from Qt's codec.
const std::array<char16_t, 256>& decodeTable() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        QStringDecoder decoder("windows-1250");
        const QString decoded = decoder.decode(all);
        for (int i = 0; i < 256; ++i)
            t[i] = decoded.size() == 256 ? decoded[i].unicode() : char16_t(i < 128 ? i : 0xFFFD);
        return t;
    }();
    return table;
}

} // namespace

QString decodeWindows1250(QByteArrayView bytes) {
    const auto& table = decodeTable();
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = table[uint8_t(bytes[i])];
    return result;
}

qsizetype firstUnencodableWindows1250(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 128)
            continue;
        QStringEncoder encoder("windows-1250");
        const QByteArray one = encoder.encode(QStringView(&text.constData()[i], 1));
        if (encoder.hasError() || one.size() != 1)
            return i;
    }
    return -1;
}

std::optional<QByteArray> encodeWindows1250(const QString& text) {
    QStringEncoder encoder("windows-1250");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || bytes.size() != text.size())
        return std::nullopt;
    return bytes;
}

} // namespace kx
