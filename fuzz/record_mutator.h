#pragma once

// A mutator that knows the shape of a record: it works on whole lines and fields of an event
// log or an XML record, so that most of what it makes still loads and reaches the replay,
// where byte-level mutations mostly stop at the parsers.

#include <cstddef>
#include <cstdint>

namespace kxfuzz {

// Mutates the record in data[0, size) in place, writing at most maxSize bytes, and returns
// the new size. One of: a generated event line inserted (an event log's or an XML record's,
// whichever the record is), a line removed, repeated or moved, one field replaced by a
// token of the format, a time stamp moved, or the bytes of one line mutated by libFuzzer.
size_t mutateRecord(uint8_t* data, size_t size, size_t maxSize, unsigned seed);

} // namespace kxfuzz
