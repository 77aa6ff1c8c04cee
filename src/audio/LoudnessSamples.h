#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace ov {

// Words in a wave block as the engine hands it out: 2048 bytes of 16-bit
// stereo data (left in the low half) and one spare word.
constexpr int kWaveBlockWords = 2049;

// Files shorter than this are drawn as if they lasted this long, so short
// sentences keep the same horizontal scale.
constexpr int kMinProgressTotalMs = 18432;

// The bar a sound control draws on one tick, and the loudness bytes it keeps
// for the comparison.
struct LoudnessSample {
    int column = 0;  // x of the bar, 0-2048
    int height = 0;  // e: half the bar's height, -30 to 30
    std::array<uint8_t, 11> samples{};
};

// The total a tick draws against for a file of this duration (-1 when it
// cannot be opened).
int ProgressTotalMs(int fileDurationMs);

// Where the bar for `positionMs` of `totalMs` goes and how loud the word at
// that column of the block is.
LoudnessSample SampleLoudness(std::span<const uint32_t, kWaveBlockWords> block, int totalMs, int positionMs);

}  // namespace ov
