#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ov {

class Mixer;

// Where the mixer's frames go. The sound library holds one output at a time,
// chosen when it is made: a device or the null output render on their own
// thread in real time; the virtual clock renders only when advanced by hand.
// Every call comes from the library, under its lock.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    virtual std::string Name() const = 0;
    // A command was queued for the mixer.
    virtual void CommandsQueued() {}
    // Time passes only through Advance.
    virtual bool AdvancedByHand() const { return false; }
    // Renders `ms` of output, appending the frames to `out` when given.
    virtual void Advance(double ms, std::vector<std::int16_t>* out) {
        (void)ms;
        (void)out;
    }
    // The output stopped taking frames (its device went away).
    virtual bool Lost() { return false; }
};

// The default playback device at the output format; null when it does not open.
std::unique_ptr<AudioOutput> OpenDeviceOutput(Mixer& mixer);

// Takes frames at real-time pace and lets them fall silent: what a machine
// without any sound device still needs so that sounds play to their end.
std::unique_ptr<AudioOutput> MakeNullOutput(Mixer& mixer);

// Renders on the caller's thread. `beforeChunk` runs before each chunk of
// that many frames is mixed (the library waits for its decoders there), so
// every run gives the same frames.
std::unique_ptr<AudioOutput> MakeVirtualClock(Mixer& mixer, std::function<void(long frames)> beforeChunk);

}  // namespace ov
