#pragma once

#include <cstdint>
#include <vector>

namespace ov {

constexpr int kSpeechRate = 16000;
constexpr int kFrameMs = 10;
constexpr int kFrameSamples = kSpeechRate * kFrameMs / 1000;

// Which 10 ms frames of a 16 kHz recording hold speech, judged by loudness
// alone and so independent of the recogniser: frames louder than the greater
// of background + 6 dB and 35 % of the way from the background to the loud
// frames. A recording with no loudness to speak of has none.
std::vector<bool> SpeechFrames(const std::vector<int16_t>& samples);

}  // namespace ov
