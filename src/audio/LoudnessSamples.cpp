#include "audio/LoudnessSamples.h"

#include "audio/WaveTap.h"

#include <algorithm>

namespace ov {
namespace {

constexpr int kColumns = 1024;
constexpr int kLastColumn = 2048;
constexpr int kMaxHeight = 30;

int Height(uint32_t word) {
    const int left = WaveWordLeft(word);
    const int right = WaveWordRight(word);
    return (left + right) / 2 * kMaxHeight / 32000;
}

}  // namespace

int ProgressTotalMs(int fileDurationMs) { return std::max(fileDurationMs, kMinProgressTotalMs); }

LoudnessSample SampleLoudness(std::span<const uint32_t, kWaveBlockWords> block, int totalMs, int positionMs) {
    // A total below the floor would give zero milliseconds per column.
    const int msPerColumn = std::max(1, totalMs / kColumns);
    LoudnessSample sample;
    sample.column = std::clamp(positionMs / msPerColumn, 0, kLastColumn);
    sample.height = Height(block[sample.column]);
    // The loudest bars wrap past 255, as the stored byte always did.
    sample.samples.fill(static_cast<uint8_t>((sample.height + kMaxHeight) * 44 / 10));
    return sample;
}

}  // namespace ov
