#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace kx {

// Unit kinds 1 to 6: record names (compared in lower case), display names and the two
// values whose sum is the unit price. Kind 0 and anything else have no name and value 0.
int32_t unitKindFromName(QByteArrayView recordName);
int32_t unitValue(int32_t kind, int which);
int32_t unitPrice(int32_t kind);
QString unitRecordName(int32_t kind); // "komár", ... ; empty for other kinds
QString unitName(int32_t kind);       // "Komár", ... ; empty for other kinds

} // namespace kx
