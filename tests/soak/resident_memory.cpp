#include "resident_memory.h"

#include <unistd.h>

#include <cstdio>

namespace kx::soak {

int64_t residentBytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    long long size = 0;
    long long resident = 0;
    const int read = std::fscanf(file, "%lld %lld", &size, &resident);
    std::fclose(file);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
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
