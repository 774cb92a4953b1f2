#include "unit_kinds.h"

#include "text_case.h"
#include "windows1250.h"

#include <QByteArray>

#include <array>

namespace kx {

namespace {

constexpr std::array<const char*, 6> kRecordNames = {"komár",   "hovado",  "šváb",
                                                     "beruška", "chrobák", "vosička"};
constexpr std::array<const char*, 6> kDisplayNames = {"Komár",   "Hovado",  "Šváb",
                                                      "Beruška", "Chrobák", "Vosička"};
constexpr std::array<std::array<int32_t, 2>, 6> kValues = {
    {{1, 1}, {9, 1}, {2, 15}, {5, 3}, {4, 6}, {7, 5}}};

const std::array<QByteArray, 6>& encodedRecordNames() {
    static const std::array<QByteArray, 6> names = [] {
        std::array<QByteArray, 6> n;
        for (size_t i = 0; i < n.size(); ++i)
            n[i] = *encodeWindows1250(QString::fromUtf8(kRecordNames[i]));
        return n;
    }();
    return names;
}

bool isKind(int32_t kind) {
    return kind >= 1 && kind <= 6;
}

} // namespace

int32_t unitKindFromName(QByteArrayView recordName) {
    if (recordName.size() < 4 || recordName.size() > 7)
        return 0;
    const auto& names = encodedRecordNames();
    for (size_t i = 0; i < names.size(); ++i) {
        const QByteArray& name = names[i];
        if (name.size() != recordName.size())
            continue;
        qsizetype j = 0;
        while (j < name.size() && lowerWindows1250(uint8_t(recordName[j])) == uint8_t(name[j]))
            ++j;
        if (j == name.size())
            return static_cast<int32_t>(i + 1);
    }
    return 0;
}

int32_t unitValue(int32_t kind, int which) {
    if (!isKind(kind) || which < 0 || which > 1)
        return 0;
    return kValues[static_cast<size_t>(kind - 1)][static_cast<size_t>(which)];
}

int32_t unitPrice(int32_t kind) {
    return unitValue(kind, 0) + unitValue(kind, 1);
}

QString unitRecordName(int32_t kind) {
    return isKind(kind) ? QString::fromUtf8(kRecordNames[static_cast<size_t>(kind - 1)])
                        : QString();
}

QString unitName(int32_t kind) {
    return isKind(kind) ? QString::fromUtf8(kDisplayNames[static_cast<size_t>(kind - 1)])
                        : QString();
}

} // namespace kx
