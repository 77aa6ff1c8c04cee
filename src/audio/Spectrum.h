#pragma once

#include <array>
#include <cstdint>

namespace ov {

// Magnitudes of a Hann-windowed 1024-point FFT of 16-bit stereo words (mixed
// to mono), bins 0 to 511, scaled so that a full-scale sine peaks near 0.5.
std::array<float, 512> Spectrum1024(const std::array<std::uint32_t, 1024>& words);

}  // namespace ov
