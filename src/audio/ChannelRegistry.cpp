#include "audio/ChannelRegistry.h"

#include "audio/Mixer.h"
#include "audio/VoiceFeeder.h"

namespace ov {

SoundChannel::SoundChannel() = default;

// The decoder may be waiting for network data; it must give up before it is joined.
SoundChannel::~SoundChannel() { voice->closing.store(true, std::memory_order_release); }

bool ChannelRegistry::Full() const { return channels_.size() + retiring_.size() >= Mixer::kMaxVoices; }

SoundHandle ChannelRegistry::Add(std::unique_ptr<SoundChannel> channel) {
    SoundHandle handle = nextHandle_++;
    if (nextHandle_ == 0) nextHandle_ = 1;
    channels_[handle] = std::move(channel);
    return handle;
}

SoundChannel* ChannelRegistry::Find(SoundHandle handle) {
    auto it = channels_.find(handle);
    return it == channels_.end() ? nullptr : it->second.get();
}

std::unique_ptr<SoundChannel> ChannelRegistry::Remove(SoundHandle handle) {
    auto it = channels_.find(handle);
    if (it == channels_.end()) return nullptr;
    std::unique_ptr<SoundChannel> channel = std::move(it->second);
    channels_.erase(it);
    retiring_[channel->voice.get()] = channel->voice;
    return channel;
}

void ChannelRegistry::CollectRetired(Mixer& mixer) {
    while (Voice* voice = mixer.TakeRetired()) retiring_.erase(voice);
}

}  // namespace ov
