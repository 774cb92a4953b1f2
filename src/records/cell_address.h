#pragma once

#include <QByteArrayView>
#include <QString>

namespace kx {

// Column of a cell address such as "C12": the first character upper-cased, as a signed
// Windows-1250 byte, minus 'A'. An empty text gives -1 (outside every world).
int addressColumn(QByteArrayView address);

// Row of a cell address: the digits after the first character ("AO" reads as "A0", trailing
// blanks dropped). A text under two characters gives row 0. A row that is not a number gives
// 0 and sets *unreadable (the replay stops the slide show then).
int addressRow(QByteArrayView address, bool* unreadable = nullptr);

// The address of cell (x, y) as shown: 'A' + x followed by y in decimal.
QString cellAddressText(int x, int y);

} // namespace kx
