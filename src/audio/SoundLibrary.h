#pragma once

#include "audio/Mixer.h"
#include "audio/PeakingBiquad.h"
#include "audio/SoundSource.h"
#include "audio/WaveTap.h"

#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ov {

class VoiceFeeder;

using SoundHandle = std::uint32_t;

enum class ChannelActivity { Stopped, Playing, Paused };

// The process-wide sound library: one 44100 Hz 16-bit stereo output opened
// once, and a mixer of channels made from files or network streams. Every
// call may come from any thread except the device's; calls are serialised by
// one control lock that the device callback never takes (see Mixer for the
// real-time side).
//
// Output runs on a device (SDL; OV_AUDIO_DRIVER, falling back to "dummy") or
// on a virtual clock, where nothing plays until AdvanceVirtualClock renders
// exactly the asked amount, waiting for the decoders first so that every run
// gives the same frames.
//
// Positions and lengths are bytes of the output format (4 per frame) on the
// timeline of the file, whatever the tempo.
class SoundLibrary {
public:
    static SoundLibrary& Instance();

    // Closes the device, if any; from now on time passes only when advanced.
    void UseVirtualClock();
    // Opens the device; false when not even the dummy driver gave one.
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

    // Volume of everything, 0 to 100.
    void SetMasterVolume(int volume);

    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

private:
    struct Channel;

    SoundLibrary();
    ~SoundLibrary() = default;

    SoundHandle Adopt(std::unique_ptr<Channel> channel);
    Channel* Find(SoundHandle handle);
    void Send(const MixerCommand& command);
    void SendGains(Channel& channel);
    void SeekLocked(Channel& channel, std::int64_t frame);
    void CollectRetired();
    void WaitForDecoders(long frames);
    void CloseDevice();
    bool OpenDevice();
    static void DeviceCallback(void* self, Uint8* stream, int length);

    mutable std::mutex mutex_;
    Mixer mixer_;
    SDL_AudioDeviceID device_ = 0;
    bool virtualClock_ = false;
    double virtualRemainder_ = 0;
    SoundHandle nextHandle_ = 1;
    std::map<SoundHandle, std::unique_ptr<Channel>> channels_;
    std::map<Voice*, std::shared_ptr<Voice>> retiring_;
};

inline double BytesToSeconds(std::int64_t bytes) {
    return static_cast<double>(bytes) / (static_cast<double>(kOutputBytesPerFrame) * kOutputRate);
}
inline std::int64_t SecondsToBytes(double seconds) {
    return static_cast<std::int64_t>(seconds * kOutputRate) * kOutputBytesPerFrame;
}

}  // namespace ov
