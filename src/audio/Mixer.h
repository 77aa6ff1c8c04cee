#pragma once

#include "audio/PeakingBiquad.h"
#include "audio/SpscRing.h"
#include "audio/Voice.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ov {

struct MixerCommand {
    enum class Kind { Add, Remove, Play, Pause, Gains, Band, Master };
    Kind kind = Kind::Play;
    Voice* voice = nullptr;
    float left = 1.0f;   // Gains: per side; Master: left is the volume
    float right = 1.0f;
    int band = 0;
    BiquadCoefficients coefficients;
};

// The real-time half of the sound library. Render runs on the device thread
// (or on the virtual clock's caller) and must never block, allocate or touch
// a file: all it does is drain the voices' block rings, filter, scale and sum.
// Changes arrive only through the command ring (one producer: the library,
// which serialises its callers); voices it lets go of come back through the
// retired ring, so the control side frees them, never the device thread.
class Mixer {
public:
    static constexpr int kMaxVoices = 64;
    static constexpr long kMaxRenderFrames = 4096;

    Mixer();

    bool Send(const MixerCommand& command) { return commands_.TryPush(command); }
    Voice* TakeRetired();

    // Takes in the queued commands; Render does it first on every call.
    void ApplyCommands();

    // Drops the blocks of seeks gone by from the front of a voice's ring.
    // Only while Render cannot run (the virtual clock's caller, device closed).
    void DropStale(Voice& voice);

    // Exactly `frames` frames of interleaved 16-bit stereo.
    void Render(std::int16_t* out, long frames);

private:
    void RenderChunk(std::int16_t* out, long frames);
    void Apply(const MixerCommand& command);
    void MixVoice(Voice& voice, long frames);
    long PullBlocks(Voice& voice, long frames);
    int Find(const Voice* voice) const;

    SpscRing<MixerCommand> commands_{1024};
    SpscRing<Voice*> retired_{2 * kMaxVoices};
    std::array<Voice*, kMaxVoices> voices_{};
    std::vector<float> mix_;
    std::vector<float> scratch_;
    float master_ = 1.0f;
};

}  // namespace ov
