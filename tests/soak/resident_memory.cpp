#include "resident_memory.h"

#include <unistd.h>

#include <cstdio>

namespace kx::soak {

namespace {

// Field `index` (0: size, 1: resident, 2: resident and backed by files) of /proc/self/statm,
// in bytes; 0 when it cannot be read.
int64_t statmBytes(int index) {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    long long fields[3] = {};
    const int read = std::fscanf(file, "%lld %lld %lld", &fields[0], &fields[1], &fields[2]);
    std::fclose(file);
    return read == 3 ? fields[index] * sysconf(_SC_PAGESIZE) : 0;
}

} // namespace

int64_t residentBytes() {
    return statmBytes(1);
}

int64_t fileBackedBytes() {
    return statmBytes(2);
}

std::optional<MemoryGrowth> memoryGrowth(const std::vector<MemorySample>& samples,
                                         double settleSeconds) {
    for (const MemorySample& sample : samples)
        if (sample.seconds >= settleSeconds && sample.bytes > 0) {
            const MemorySample& last = samples.back();
            return MemoryGrowth{sample, last,
                                double(last.bytes - sample.bytes) / double(sample.bytes)};
        }
    return std::nullopt;
}

} // namespace kx::soak
