#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

namespace kx {

// Column of a cell address such as "C12": the first character upper-cased, as a signed
// Windows-1250 byte, minus 'A'. An empty text gives -1 (outside every world).
int addressColumn(QByteArrayView address);

// Row of a cell address: the digits after the first character ("AO" reads as "A0", trailing
// blanks dropped). A text under two characters gives row 0. A row that is not a number gives
// 0 and sets *unreadable (the replay stops the slide show then).
int addressRow(QByteArrayView address, bool* unreadable = nullptr);

// The name of column x wherever a column is shown (the map's header, the field inspector, the
// player figures): the character 'A' + x while that is a printable ASCII character (columns 0
// to 61, as the records write them), otherwise the column number in decimal.
QString columnName(int x);

// The address of cell (x, y) as shown: the column's name, then the row in decimal ("C5"), with
// a colon between them when the column is named by its number ("75:5").
QString cellAddressText(int x, int y);

// The cell an address written by cellAddressText names, or nullopt.
std::optional<std::pair<int, int>> cellOfAddressText(QStringView text);

} // namespace kx
