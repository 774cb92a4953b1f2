#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kx::soak {

// The process's resident set in bytes (from /proc/self/statm), 0 when it cannot be read.
int64_t residentBytes();
// The part of it that maps files (code, fonts): pages the system may drop and read again.
int64_t fileBackedBytes();

struct MemorySample {
    double seconds; // since the run started
    int64_t bytes;
};

// The first sample taken `settleSeconds` into the run or later, and how much the last sample
// exceeds it as a fraction (0.01 is 1 %); nullopt when no sample is that late.
struct MemoryGrowth {
    MemorySample settled;
    MemorySample last;
    double growth;
};
std::optional<MemoryGrowth> memoryGrowth(const std::vector<MemorySample>& samples,
                                         double settleSeconds);

} // namespace kx::soak
