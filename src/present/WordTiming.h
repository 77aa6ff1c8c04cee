#pragma once

#include <cstdint>
#include <optional>

namespace ov {

// The speech speed at which lesson sound plays as recorded, percent.
inline constexpr int kNormalSpeechSpeed = 100;

// How long a highlighted word stays lit: its share of the sentence's playing
// time by width, plus 200 ms. A sentence of no width gives every word 200 ms.
// Computed in 64 bits: a long sound over a wide sentence would overflow 32.
inline int64_t WordTimeMs(int64_t sentenceDuration, int64_t width, int64_t sentenceWidth) {
    constexpr int64_t kExtraMs = 200;
    if (sentenceWidth == 0) return kExtraMs;
    return sentenceDuration * width / sentenceWidth + kExtraMs;
}

// Pixels of the word's wipe `elapsed` ms after it started: the wipe moves at
// sentenceWidth pixels per sentenceDuration ms. Nothing when the duration is
// unknown (a sound whose length cannot be read), so the word stays plain red.
inline std::optional<int64_t> WipeWidth(int64_t elapsed, int64_t sentenceWidth, int64_t sentenceDuration) {
    if (sentenceDuration <= 0) return std::nullopt;
    return elapsed * sentenceWidth / sentenceDuration;
}

// Playing time of a sound after the speech speed (percent of normal) is
// applied; a speed of 0 or less leaves the time as it is.
inline int64_t SpeedAdjustedMs(int64_t soundMs, int speedPercent) {
    if (speedPercent <= 0) return soundMs;
    return soundMs * 1000 / (int64_t{speedPercent} * 10);
}

}  // namespace ov
