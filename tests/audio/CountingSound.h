#pragma once

#include <string>

namespace ovtest {

// One second of 16-bit stereo samples at 16000 Hz that count up, so a lost,
// doubled or shifted capture buffer shows.
inline std::string CountingSound() {
    std::string raw;
    for (int k = 0; k < 32000; ++k) {
        raw += static_cast<char>(k & 0xFF);
        raw += static_cast<char>((k >> 8) & 0xFF);
    }
    return raw;
}

}  // namespace ovtest
