#pragma once

#include "audio/Voice.h"

#include <cstdint>
#include <map>
#include <memory>

namespace ov {

class Mixer;
class VoiceFeeder;

using SoundHandle = std::uint32_t;

enum class ChannelActivity { Stopped, Playing, Paused };

// One channel as the control side keeps it: the voice the mixer plays, the
// decoder that feeds it, and the settings the caller gave.
struct SoundChannel {
    SoundChannel();
    ~SoundChannel();
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    std::shared_ptr<Voice> voice = std::make_shared<Voice>();
    std::unique_ptr<VoiceFeeder> feeder;
    ChannelActivity activity = ChannelActivity::Stopped;
    int volume = 100;
    int pan = 0;
    bool loop = false;
    std::uint32_t epoch = 0;
};

// The open channels by handle, and the voices the mixer has not let go of
// yet. Not thread-safe: the sound library calls it under its lock.
class ChannelRegistry {
public:
    // No room for another voice in the mixer.
    bool Full() const;
    // A fresh handle, never 0.
    SoundHandle Add(std::unique_ptr<SoundChannel> channel);
    SoundChannel* Find(SoundHandle handle);
    // Takes the channel out; its voice stays alive until the mixer retires it.
    std::unique_ptr<SoundChannel> Remove(SoundHandle handle);
    // Frees the voices the mixer handed back.
    void CollectRetired(Mixer& mixer);

    template <typename Visit>
    void ForEach(Visit visit) {
        for (auto& [handle, channel] : channels_) visit(*channel);
    }

private:
    SoundHandle nextHandle_ = 1;
    std::map<SoundHandle, std::unique_ptr<SoundChannel>> channels_;
    std::map<Voice*, std::shared_ptr<Voice>> retiring_;
};

}  // namespace ov
