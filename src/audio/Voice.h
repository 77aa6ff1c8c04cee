#pragma once

#include "audio/PeakingBiquad.h"
#include "audio/SpscRing.h"
#include "audio/WaveTap.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace ov {

constexpr long kBlockFrames = 256;
constexpr int kEqBands = 10;

// A run of decoded frames with the place in the file they came from, so the
// mixer can tell the position of what is heard even when the tempo squeezes
// or stretches the sound.
struct AudioBlock {
    float samples[kBlockFrames * 2];
    std::int64_t sourceStart;  // file position of the first frame, in output-rate frames
    float sourceStep;          // file frames per played frame: the tempo
    std::uint32_t frames;
    std::uint32_t epoch;       // the seek this block belongs to
};

// One channel as the three threads see it. The decoding thread fills
// `blocks` ahead of time; the mixer (device thread) drains them and publishes
// position, end and the last played frames through atomics; the control side
// only reads those atomics and talks to the mixer through its command queue.
struct Voice {
    static constexpr std::uint32_t kNoEpoch = 0xFFFFFFFFu;

    // Decoding thread -> mixer; about 370 ms at the output rate.
    SpscRing<AudioBlock> blocks{64};
    std::atomic<std::uint32_t> epoch{0};
    std::atomic<std::uint32_t> feederEpoch{0};       // the seek the decoder works on now
    std::atomic<std::uint32_t> doneEpoch{kNoEpoch};  // the decoder reached the end of this seek's run
    std::atomic<bool> starved{false};                // waiting for network data
    std::atomic<bool> closing{false};                // the channel is going: stop waiting for data
    std::atomic<std::uint64_t> progress{0};          // bumped on every change above, for waiters

    // Mixer -> everyone.
    std::atomic<std::int64_t> position{0};
    std::atomic<bool> ended{false};
    std::atomic<std::uint64_t> framesPlayed{0};
    WaveTap wave;

    // Mixer-owned; changed only by commands.
    bool playing = false;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    std::array<StereoBiquad, kEqBands> equaliser;
    std::uint32_t blockOffset = 0;

    void NoteProgress() {
        progress.fetch_add(1, std::memory_order_acq_rel);
        progress.notify_all();
    }
};

}  // namespace ov
