#pragma once

#include "audio/WaveFile.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ovtest {

// A silent 16-bit mono PCM file of `ms` milliseconds; false when it cannot be
// written. Links with the audio library, as everything that plays it does.
inline bool WriteSilence(const std::filesystem::path& file, int ms, int rate = 8000) {
    const int frames = static_cast<int>(static_cast<long long>(rate) * ms / 1000);
    ov::WaveFile wave;
    wave.SetFormat(1, rate, 16);
    wave.SetData(std::vector<std::uint8_t>(static_cast<size_t>(frames) * 2), frames, false);
    const bool saved = wave.SaveToFile(file.string());
    wave.CloseStream();
    return saved;
}

}  // namespace ovtest
