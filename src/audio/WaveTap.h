#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace ov {

// The last 1024 frames a channel played (enough for a 1024-point spectrum), as 16-bit stereo words (left in the
// low half, right in the high half). The device thread writes without ever
// waiting; readers retry when a write overlapped their copy (a sequence lock),
// so the sound control gets a consistent block every 10 ms.
class WaveTap {
public:
    static constexpr int kFrames = 1024;

    // Device thread only.
    void Write(const float* frames, long count);
    // Any thread: oldest frame first.
    void Read(std::array<std::uint32_t, kFrames>& out) const;

private:
    std::array<std::atomic<std::uint32_t>, kFrames> words_{};
    std::atomic<std::uint32_t> next_{0};
    std::atomic<std::uint32_t> sequence_{0};
};

std::int16_t ToSample16(float value);

inline std::uint32_t PackWaveWord(std::int16_t left, std::int16_t right) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(right)) << 16 | static_cast<std::uint16_t>(left);
}
inline std::int16_t WaveWordLeft(std::uint32_t word) { return static_cast<std::int16_t>(word & 0xFFFF); }
inline std::int16_t WaveWordRight(std::uint32_t word) { return static_cast<std::int16_t>(word >> 16); }

}  // namespace ov
