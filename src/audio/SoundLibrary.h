#pragma once

#include "audio/AudioOutput.h"
#include "audio/ChannelRegistry.h"
#include "audio/Mixer.h"
#include "audio/PeakingBiquad.h"
#include "audio/SoundSource.h"
#include "audio/WaveTap.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ov {

// The process-wide sound library: one 44100 Hz 16-bit stereo output, and a
// mixer of channels made from files or network streams. Every call may come
// from any thread except the output's; calls are serialised by one control
// lock that the output never takes (see Mixer for the real-time side).
//
// The output is the playback device (see AudioDevices), or the null output
// when no device opens, or a virtual clock, where nothing plays until
// AdvanceVirtualClock renders exactly the asked amount, waiting for the
// decoders first so that every run gives the same frames. A device that goes
// away is noticed on the next call; the library opens the device again (on a
// restarted driver when no other device holds it, which may be the silent
// dummy one), or moves to the null output, and the channels go on.
//
// Calls that change a channel return false when the mixer could not take the
// change in time (its output stopped taking frames): they never hang.
//
// Positions and lengths are bytes of the output format (4 per frame) on the
// timeline of the file, whatever the tempo.
class SoundLibrary {
public:
    static SoundLibrary& Instance();

    // Closes the device, if any; from now on time passes only when advanced.
    void UseVirtualClock();
    // Opens the device, on SDL's silent "dummy" driver when the chosen one
    // gives none; false when even that failed, and sounds then go on through
    // the null output.
    bool UseDevice();
    bool OnVirtualClock() const;
    // Renders `ms` of output (frame-exact over many calls: 10 ms ticks add up
    // to 44100 frames a second); appends the frames to `out` when given.
    void AdvanceVirtualClock(double ms, std::vector<std::int16_t>* out = nullptr);

    // 0 when the file is neither a stream nor tracker music.
    SoundHandle OpenFile(const std::string& path);
    // Starts fetching at once; waits at most `timeoutMs` for the stream to
    // open, 0 when it failed by then.
    SoundHandle OpenUrl(const std::string& url, int timeoutMs);
    void Free(SoundHandle handle);
    // Length in bytes of a file, without making a channel; -1 when it cannot be opened.
    std::int64_t MeasureFile(const std::string& path);

    bool Play(SoundHandle handle);
    bool Pause(SoundHandle handle);
    bool Stop(SoundHandle handle);
    ChannelActivity Activity(SoundHandle handle);
    // The channel played to its end (and does not loop).
    bool Ended(SoundHandle handle);

    std::int64_t PositionBytes(SoundHandle handle);
    std::int64_t LengthBytes(SoundHandle handle);
    bool SetPositionBytes(SoundHandle handle, std::int64_t bytes);

    bool SetVolume(SoundHandle handle, int volume);    // 0 to 100
    bool SetPan(SoundHandle handle, int pan);          // -100 left to 100 right
    int Pan(SoundHandle handle);
    bool SetTempo(SoundHandle handle, int thousandths);  // pitch kept
    bool SetLoop(SoundHandle handle, bool loop);
    bool SetBand(SoundHandle handle, int band, const BandSetting& setting);
    // The frames the channel played last, oldest first; false for no channel.
    bool LastPlayed(SoundHandle handle, std::array<std::uint32_t, WaveTap::kFrames>& words);
    // Frames the mixer has taken from the channel so far.
    std::uint64_t FramesPlayed(SoundHandle handle);

    // Two volumes of everything, 0 to 100, that multiply: the output's and
    // the global one of every channel.
    void SetOutputVolume(int volume);
    void SetGlobalVolume(int volume);

    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

private:
    SoundLibrary();
    ~SoundLibrary() = default;

    // Locks, finds the channel and runs `action` on it; `missing` when there is none.
    template <typename Result, typename Action>
    Result WithChannel(SoundHandle handle, Result missing, Action action);

    SoundHandle Adopt(std::unique_ptr<SoundChannel> channel);
    bool Send(const MixerCommand& command);
    bool FlushBacklog();
    bool SendGains(SoundChannel& channel);
    bool SendMasterVolume();
    void SeekLocked(SoundChannel& channel, std::int64_t frame);
    void WaitForDecoders(long frames);
    AudioOutput& Output();
    void ReplaceLostOutput();
    void ReplaceOutput(std::unique_ptr<AudioOutput> output);
    // The device (on the dummy driver when the chosen one has none), else
    // the null output; false for the latter.
    bool UseRealTimeOutput();

    mutable std::mutex mutex_;
    Mixer mixer_;
    std::unique_ptr<AudioOutput> output_;
    ChannelRegistry registry_;
    // Commands the mixer's queue had no room for, oldest first.
    std::deque<MixerCommand> backlog_;
    int outputVolume_ = 100;
    int globalVolume_ = 100;
};

inline double BytesToSeconds(std::int64_t bytes) {
    return static_cast<double>(bytes) / (static_cast<double>(kOutputBytesPerFrame) * kOutputRate);
}
inline std::int64_t SecondsToBytes(double seconds) {
    return static_cast<std::int64_t>(seconds * kOutputRate) * kOutputBytesPerFrame;
}

}  // namespace ov
