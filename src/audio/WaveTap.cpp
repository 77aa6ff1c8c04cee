#include "audio/WaveTap.h"

#include <algorithm>
#include <cmath>

namespace ov {

std::int16_t ToSample16(float value) {
    float scaled = std::clamp(value * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(std::lrint(scaled));
}

void WaveTap::Write(const float* frames, long count) {
    long first = std::max(0L, count - kFrames);
    std::uint32_t next = next_.load(std::memory_order_relaxed);
    sequence_.fetch_add(1, std::memory_order_acq_rel);
    for (long i = first; i < count; ++i) {
        std::uint32_t word = PackWaveWord(ToSample16(frames[2 * i]), ToSample16(frames[2 * i + 1]));
        words_[next].store(word, std::memory_order_release);
        next = (next + 1) % kFrames;
    }
    next_.store(next, std::memory_order_release);
    sequence_.fetch_add(1, std::memory_order_release);
}

void WaveTap::Read(std::array<std::uint32_t, kFrames>& out) const {
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::uint32_t before = sequence_.load(std::memory_order_acquire);
        if (before % 2 != 0) continue;
        std::uint32_t next = next_.load(std::memory_order_acquire);
        for (int i = 0; i < kFrames; ++i) {
            // Pairs with the release stores: a reader that sees a new word also
            // sees the odd sequence the writer set before it.
            out[i] = words_[(next + i) % kFrames].load(std::memory_order_acquire);
        }
        if (sequence_.load(std::memory_order_relaxed) == before) return;
    }
}

}  // namespace ov
