#pragma once

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace bench {

// A smoke run (`--smoke`) is one short round of every measurement with
// nothing judged: the test suite runs each bench so, to see that it still
// builds its inputs and gets through.
inline bool& Smoke() {
    static bool smoke = false;
    return smoke;
}

// Takes `--smoke` off the command line, so that what reads it after never sees it.
inline void ReadSmokeFlag(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            Smoke() = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
}

// The full count of a measurement, or one in a smoke run.
inline int Rounds(int full) { return Smoke() ? 1 : full; }

// A bench that cannot get through says why and ends with 1; a target missed
// is no failure.
[[noreturn]] inline void Fail(const char* bench, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", bench, why.c_str());
    std::exit(1);
}

// What a figure's line ends with: a smoke run's figures say nothing.
inline const char* Judgement(bool met) { return Smoke() ? "not judged (smoke run)" : met ? "met" : "NOT MET"; }

// Prints a figure beside its target, and whether it is met.
inline void Verdict(const char* what, double value, double limit, const char* unit) {
    std::printf("%s: %.2f %s (target <= %.2f) %s\n", what, value, unit, limit, Judgement(value <= limit));
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
