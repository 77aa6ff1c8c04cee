#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ov {

// A recording that cannot be judged: missing, not sound, or too long.
class ERecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A reading is a sentence or a few; a longer file is not one, and reading all
// of it would only keep the pupil waiting.
constexpr int kLongestRecordingMs = 60000;

// Any file the sound library plays, as 16 kHz mono. Throws ERecordingError.
std::vector<int16_t> ReadRecording(const std::string& path);

// The recording as if played at `speed` (below 1: slower and lower), back at
// 16 kHz: a child's voice comes nearer an adult's.
std::vector<int16_t> SpeedWarped(const std::vector<int16_t>& samples, double speed);

}  // namespace ov
