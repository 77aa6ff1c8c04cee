#include "audio/AudioOutput.h"
#include "audio/Mixer.h"
#include "audio/SoundSource.h"

#include <algorithm>
#include <cmath>

namespace ov {
namespace {

constexpr long kChunkFrames = 512;

class VirtualClock final : public AudioOutput {
public:
    VirtualClock(Mixer& mixer, std::function<void(long)> beforeChunk)
        : mixer_(mixer), beforeChunk_(std::move(beforeChunk)), chunk_(kOutputChannels * kChunkFrames) {
        mixer_.ApplyCommands();
    }

    std::string Name() const override { return "virtual clock"; }
    // Nobody else renders: commands take effect at once, in order with the calls.
    void CommandsQueued() override { mixer_.ApplyCommands(); }
    // Advance waits for the decoders itself.
    bool AdvancedByHand() const override { return true; }

    // Frame-exact over many calls: 10 ms ticks add up to 44100 frames a second.
    void Advance(double ms, std::vector<std::int16_t>* out) override {
        const double exact = ms * kOutputRate / 1000.0 + remainder_;
        const long frames = static_cast<long>(std::floor(exact));
        remainder_ = exact - static_cast<double>(frames);
        for (long done = 0; done < frames;) {
            const long count = std::min(frames - done, kChunkFrames);
            beforeChunk_(count);
            mixer_.Render(chunk_.data(), count);
            if (out != nullptr) out->insert(out->end(), chunk_.begin(), chunk_.begin() + kOutputChannels * count);
            done += count;
        }
    }

private:
    Mixer& mixer_;
    std::function<void(long)> beforeChunk_;
    std::vector<std::int16_t> chunk_;
    double remainder_ = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeVirtualClock(Mixer& mixer, std::function<void(long frames)> beforeChunk) {
    return std::make_unique<VirtualClock>(mixer, std::move(beforeChunk));
}

}  // namespace ov
