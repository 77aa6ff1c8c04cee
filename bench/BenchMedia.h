#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace bench {

inline void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Mono 16 kHz speech stand-in: voiced stretches (a few harmonics with a
// wandering pitch and noise) and quiet pauses; zlib gains only a little on it.
inline std::string SpeechWav(std::mt19937& random, size_t samples) {
    std::string wav = "RIFF";
    PutLe(wav, static_cast<uint32_t>(36 + samples * 2), 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);
    PutLe(wav, 1, 2);
    PutLe(wav, 16000, 4);
    PutLe(wav, 32000, 4);
    PutLe(wav, 2, 2);
    PutLe(wav, 16, 2);
    wav += "data";
    PutLe(wav, static_cast<uint32_t>(samples * 2), 4);
    std::normal_distribution<double> noise(0.0, 1.0);
    double phase = 0;
    for (size_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / 16000.0;
        const bool voiced = std::fmod(t, 1.3) < 0.9;
        const double pitch = 140 + 40 * std::sin(t * 2.1);
        phase += 2 * M_PI * pitch / 16000.0;
        const double level = voiced ? 6000 * (0.6 + 0.4 * std::sin(t * 9)) : 40;
        const double value = level * (std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase)) +
                             (voiced ? 300 : 20) * noise(random);
        PutLe(wav, static_cast<uint32_t>(static_cast<int16_t>(std::clamp(value, -32000.0, 32000.0))), 2);
    }
    return wav;
}

// A JPEG header over random bytes: as incompressible as a real photograph.
inline std::string JpegLike(std::mt19937& random, size_t size) {
    std::string jpeg("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11);
    while (jpeg.size() < size) jpeg += static_cast<char>(random());
    return jpeg;
}

}  // namespace bench
