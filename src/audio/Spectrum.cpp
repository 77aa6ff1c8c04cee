#include "audio/Spectrum.h"

#include "audio/WaveTap.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <utility>

namespace ov {
namespace {

constexpr int kPoints = 1024;

void Transform(std::array<std::complex<float>, kPoints>& x) {
    for (int i = 1, j = 0; i < kPoints; ++i) {
        int bit = kPoints >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (int length = 2; length <= kPoints; length <<= 1) {
        float angle = -2.0f * std::numbers::pi_v<float> / static_cast<float>(length);
        std::complex<float> step(std::cos(angle), std::sin(angle));
        for (int start = 0; start < kPoints; start += length) {
            std::complex<float> w(1.0f, 0.0f);
            for (int k = 0; k < length / 2; ++k) {
                std::complex<float> even = x[start + k];
                std::complex<float> odd = x[start + k + length / 2] * w;
                x[start + k] = even + odd;
                x[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

}  // namespace

std::array<float, 512> Spectrum1024(const std::array<std::uint32_t, 1024>& words) {
    std::array<std::complex<float>, kPoints> x;
    for (int i = 0; i < kPoints; ++i) {
        std::int16_t left = WaveWordLeft(words[i]);
        std::int16_t right = WaveWordRight(words[i]);
        float window = 0.5f - 0.5f * std::cos(2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / kPoints);
        x[i] = (static_cast<float>(left) + static_cast<float>(right)) / 65536.0f * window;
    }
    Transform(x);
    std::array<float, 512> magnitudes;
    for (int i = 0; i < 512; ++i) magnitudes[i] = std::abs(x[i]) * 2.0f / kPoints;
    return magnitudes;
}

}  // namespace ov
