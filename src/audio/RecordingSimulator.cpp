#include "audio/RecordingSimulator.h"

#include "audio/AudioObject.h"
#include "audio/LoudnessSamples.h"
#include "audio/SoundLibrary.h"

namespace ov {
namespace {

constexpr int kTickMs = 10;
// Ticks past the file's own length before giving up on an end that never
// comes (a looping tracker file).
constexpr int kSpareTicks = 100;

}  // namespace

std::optional<std::vector<uint8_t>> SimulateSoundSamples(const std::string& path) {
    SoundLibrary& library = SoundLibrary::Instance();
    library.UseVirtualClock();
    TAudioObject audio;
    const int duration = audio.GetFileDuration(path);
    if (duration < 0) return std::nullopt;
    // The control asks for the duration on every tick; the file does not change
    // while it plays, so asking once gives the same total.
    const int total = ProgressTotalMs(duration);

    std::vector<uint8_t> samples;
    audio.Stop();
    audio.Play(path);
    WaveBlock block;
    for (int tick = 0; tick < duration / kTickMs + kSpareTicks; ++tick) {
        library.AdvanceVirtualClock(kTickMs);
        audio.EngineTick();
        audio.GetWaveData(block);
        const LoudnessSample s = SampleLoudness(block, total, audio.GetPosition());
        samples.insert(samples.end(), s.samples.begin(), s.samples.end());
        if (audio.GetState() != TAudioEngine::kPlaying) break;
    }
    return samples;
}

}  // namespace ov
