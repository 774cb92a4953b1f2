#pragma once

#include <QByteArray>

namespace kx {

// Maps in the reserved room of a large buffer in one go, before it is filled: touching fresh
// memory page by page costs one page fault per 4 KiB, which on virtual machines is a large
// share of a record's load. Call it right after reserving. Does nothing for small buffers or
// where the system cannot do it (the pages are then mapped as they are touched).
void prepareLargeBuffer(QByteArray& buffer);
// The same for the bytes [from, to) of the buffer's room, whatever its size.
void prepareBufferRange(QByteArray& buffer, qsizetype from, qsizetype to);

} // namespace kx
