#pragma once

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace bench {

// Prints a figure beside its target; true when the target is met.
inline bool Verdict(const char* what, double value, double limit, const char* unit) {
    const bool met = value <= limit;
    std::printf("%s: %.2f %s (target <= %.2f) %s\n", what, value, unit, limit, met ? "met" : "NOT MET");
    return met;
}

// Resident memory of this process in MB, once the allocator has handed back
// what it could: freed memory it keeps is no leak.
inline double ResidentMb() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

}  // namespace bench
