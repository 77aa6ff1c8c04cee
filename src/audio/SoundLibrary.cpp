#include "audio/SoundLibrary.h"

#include "audio/AudioDriver.h"
#include "audio/NetworkSource.h"
#include "audio/SoundSource.h"
#include "audio/VoiceFeeder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace ov {
namespace {

constexpr long kVirtualChunkFrames = 512;
constexpr int kDeviceBufferFrames = 1024;
constexpr int kFirstBlockWaitMs = 200;

MixerCommand Command(MixerCommand::Kind kind, Voice* voice) {
    MixerCommand command;
    command.kind = kind;
    command.voice = voice;
    return command;
}

}  // namespace

struct SoundLibrary::Channel {
    std::shared_ptr<Voice> voice = std::make_shared<Voice>();
    std::unique_ptr<VoiceFeeder> feeder;
    ChannelActivity activity = ChannelActivity::Stopped;
    int volume = 100;
    int pan = 0;
    bool loop = false;
    std::uint32_t epoch = 0;

    // The decoder may be waiting for network data; it must give up before it is joined.
    ~Channel() { voice->closing.store(true, std::memory_order_release); }
};

SoundLibrary& SoundLibrary::Instance() {
    // Never destroyed: the device thread and the decoders may still run while
    // the process exits, and must not find the mixer gone.
    static SoundLibrary* library = new SoundLibrary;
    return *library;
}

SoundLibrary::SoundLibrary() = default;

bool SoundLibrary::OnVirtualClock() const {
    std::lock_guard lock(mutex_);
    return virtualClock_;
}

void SoundLibrary::CloseDevice() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void SoundLibrary::UseVirtualClock() {
    std::lock_guard lock(mutex_);
    CloseDevice();
    virtualClock_ = true;
    virtualRemainder_ = 0;
    mixer_.ApplyCommands();
    CollectRetired();
}

void SoundLibrary::DeviceCallback(void* self, Uint8* stream, int length) {
    static_cast<SoundLibrary*>(self)->mixer_.Render(reinterpret_cast<std::int16_t*>(stream),
                                                    length / kOutputBytesPerFrame);
}

bool SoundLibrary::OpenDevice() {
    if (device_ != 0) return true;
    SDL_AudioSpec want{};
    want.freq = kOutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = kOutputChannels;
    want.samples = kDeviceBufferFrames;
    want.callback = &SoundLibrary::DeviceCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = OpenAudioDevice(false, want, have, 0);
    if (device_ == 0) return false;
    virtualClock_ = false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool SoundLibrary::UseDevice() {
    std::lock_guard lock(mutex_);
    return OpenDevice();
}

void SoundLibrary::Send(const MixerCommand& command) {
    // Without any device there is nobody to hear it; the virtual clock at
    // least keeps the channels' bookkeeping right.
    if (device_ == 0 && !virtualClock_ && !OpenDevice()) virtualClock_ = true;
    while (!mixer_.Send(command)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (virtualClock_) mixer_.ApplyCommands();
    CollectRetired();
}

void SoundLibrary::CollectRetired() {
    while (Voice* voice = mixer_.TakeRetired()) retiring_.erase(voice);
}

SoundLibrary::Channel* SoundLibrary::Find(SoundHandle handle) {
    auto it = channels_.find(handle);
    return it == channels_.end() ? nullptr : it->second.get();
}

SoundHandle SoundLibrary::Adopt(std::unique_ptr<Channel> channel) {
    if (channels_.size() + retiring_.size() >= Mixer::kMaxVoices) return 0;
    SoundHandle handle = nextHandle_++;
    if (nextHandle_ == 0) nextHandle_ = 1;
    Send(Command(MixerCommand::Kind::Add, channel->voice.get()));
    channels_[handle] = std::move(channel);
    return handle;
}

SoundHandle SoundLibrary::OpenFile(const std::string& path) {
    auto source = std::make_shared<std::unique_ptr<SoundSource>>(OpenSoundFile(path));
    if (*source == nullptr) return 0;
    auto channel = std::make_unique<Channel>();
    std::int64_t length = (*source)->LengthFrames();
    channel->feeder =
        std::make_unique<VoiceFeeder>(channel->voice, [source] { return std::move(*source); }, length);
    std::lock_guard lock(mutex_);
    return Adopt(std::move(channel));
}

SoundHandle SoundLibrary::OpenUrl(const std::string& url, int timeoutMs) {
    auto channel = std::make_unique<Channel>();
    std::weak_ptr<Voice> voice = channel->voice;
    channel->feeder = std::make_unique<VoiceFeeder>(channel->voice, [url, voice] { return OpenNetworkSource(url, voice); });
    if (!channel->feeder->WaitOpened(timeoutMs)) return 0;
    std::lock_guard lock(mutex_);
    return Adopt(std::move(channel));
}

void SoundLibrary::Free(SoundHandle handle) {
    std::unique_ptr<Channel> channel;
    {
        std::lock_guard lock(mutex_);
        auto it = channels_.find(handle);
        if (it == channels_.end()) return;
        channel = std::move(it->second);
        channels_.erase(it);
        retiring_[channel->voice.get()] = channel->voice;
        Send(Command(MixerCommand::Kind::Remove, channel->voice.get()));
    }
    // Joining the decoder may wait on a network read; not under the lock.
    channel.reset();
}

std::int64_t SoundLibrary::MeasureFile(const std::string& path) {
    auto source = OpenSoundFile(path);
    if (source == nullptr) return -1;
    return std::max<std::int64_t>(0, source->LengthFrames()) * kOutputBytesPerFrame;
}

bool SoundLibrary::Play(SoundHandle handle) {
    std::unique_lock lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    if (channel->voice->ended.load(std::memory_order_acquire) && !channel->loop) SeekLocked(*channel, 0);
    // The first frames should reach the very next callback. The wait must
    // not hold up every other channel's calls.
    if (!virtualClock_) {
        std::shared_ptr<Voice> voice = channel->voice;
        lock.unlock();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFirstBlockWaitMs);
        while (voice->blocks.Count() == 0 && voice->doneEpoch.load() != voice->epoch.load() &&
               !voice->starved.load() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        lock.lock();
        channel = Find(handle);
        if (channel == nullptr) return false;
    }
    channel->activity = ChannelActivity::Playing;
    Send(Command(MixerCommand::Kind::Play, channel->voice.get()));
    return true;
}

bool SoundLibrary::Pause(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    if (channel->activity == ChannelActivity::Playing) channel->activity = ChannelActivity::Paused;
    Send(Command(MixerCommand::Kind::Pause, channel->voice.get()));
    return true;
}

bool SoundLibrary::Stop(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->activity = ChannelActivity::Stopped;
    Send(Command(MixerCommand::Kind::Pause, channel->voice.get()));
    return true;
}

ChannelActivity SoundLibrary::Activity(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr || channel->voice->ended.load(std::memory_order_acquire)) return ChannelActivity::Stopped;
    return channel->activity;
}

bool SoundLibrary::Ended(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    return channel != nullptr && channel->voice->ended.load(std::memory_order_acquire);
}

std::int64_t SoundLibrary::PositionBytes(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return -1;
    std::int64_t frame = channel->voice->position.load(std::memory_order_acquire);
    std::int64_t length = channel->feeder->LengthFrames();
    if (length > 0) frame = std::min(frame, length);
    return frame * kOutputBytesPerFrame;
}

std::int64_t SoundLibrary::LengthBytes(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return -1;
    return std::max<std::int64_t>(0, channel->feeder->LengthFrames()) * kOutputBytesPerFrame;
}

bool SoundLibrary::SetPositionBytes(SoundHandle handle, std::int64_t bytes) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    SeekLocked(*channel, bytes / kOutputBytesPerFrame);
    return true;
}

void SoundLibrary::SeekLocked(Channel& channel, std::int64_t frame) {
    frame = std::max<std::int64_t>(0, frame);
    std::int64_t length = channel.feeder->LengthFrames();
    if (length > 0) frame = std::min(frame, length);
    Voice& voice = *channel.voice;
    voice.epoch.store(++channel.epoch, std::memory_order_release);
    voice.position.store(frame, std::memory_order_release);
    channel.feeder->Seek(frame, channel.epoch);
}

void SoundLibrary::SendGains(Channel& channel) {
    float volume = static_cast<float>(channel.volume) / 100.0f;
    float left = channel.pan > 0 ? 1.0f - static_cast<float>(channel.pan) / 100.0f : 1.0f;
    float right = channel.pan < 0 ? 1.0f + static_cast<float>(channel.pan) / 100.0f : 1.0f;
    MixerCommand command = Command(MixerCommand::Kind::Gains, channel.voice.get());
    command.left = volume * left;
    command.right = volume * right;
    Send(command);
}

bool SoundLibrary::SetVolume(SoundHandle handle, int volume) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->volume = std::clamp(volume, 0, 100);
    SendGains(*channel);
    return true;
}

bool SoundLibrary::SetPan(SoundHandle handle, int pan) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->pan = std::clamp(pan, -100, 100);
    SendGains(*channel);
    return true;
}

int SoundLibrary::Pan(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    return channel != nullptr ? channel->pan : 0;
}

bool SoundLibrary::SetTempo(SoundHandle handle, int thousandths) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->feeder->SetTempo(std::clamp(thousandths, 250, 4000) / 1000.0);
    // What is already decoded ahead would keep the old speed for a third of
    // a second: decode again from what is being heard.
    SeekLocked(*channel, channel->voice->position.load(std::memory_order_acquire));
    return true;
}

bool SoundLibrary::SetLoop(SoundHandle handle, bool loop) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->loop = loop;
    channel->feeder->SetLoop(loop);
    return true;
}

bool SoundLibrary::SetBand(SoundHandle handle, int band, const BandSetting& setting) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr || band < 0 || band >= kEqBands) return false;
    MixerCommand command = Command(MixerCommand::Kind::Band, channel->voice.get());
    command.band = band;
    command.coefficients = PeakingCoefficients(setting, kOutputRate);
    Send(command);
    return true;
}

bool SoundLibrary::LastPlayed(SoundHandle handle, std::array<std::uint32_t, WaveTap::kFrames>& words) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    if (channel == nullptr) return false;
    channel->voice->wave.Read(words);
    return true;
}

std::uint64_t SoundLibrary::FramesPlayed(SoundHandle handle) {
    std::lock_guard lock(mutex_);
    Channel* channel = Find(handle);
    return channel != nullptr ? channel->voice->framesPlayed.load(std::memory_order_acquire) : 0;
}

void SoundLibrary::SetMasterVolume(int volume) {
    std::lock_guard lock(mutex_);
    MixerCommand command = Command(MixerCommand::Kind::Master, nullptr);
    command.left = static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
    Send(command);
}

void SoundLibrary::WaitForDecoders(long frames) {
    const std::size_t blocksNeeded = static_cast<std::size_t>(frames / kBlockFrames + 2);
    for (auto& [handle, channel] : channels_) {
        if (channel->activity != ChannelActivity::Playing) continue;
        Voice& voice = *channel->voice;
        for (;;) {
            std::uint64_t seen = voice.progress.load(std::memory_order_acquire);
            std::uint32_t epoch = voice.epoch.load(std::memory_order_acquire);
            // Once the decoder works on the latest seek, nothing older can
            // arrive after what is dropped here.
            bool caughtUp = voice.feederEpoch.load(std::memory_order_acquire) == epoch;
            if (caughtUp) mixer_.DropStale(voice);
            bool ready = voice.ended.load() || voice.starved.load() || voice.doneEpoch.load() == epoch ||
                         (caughtUp && voice.blocks.Count() >= blocksNeeded);
            if (ready) break;
            channel->feeder->Wake();
            voice.progress.wait(seen, std::memory_order_acquire);
        }
    }
}

void SoundLibrary::AdvanceVirtualClock(double ms, std::vector<std::int16_t>* out) {
    std::lock_guard lock(mutex_);
    if (!virtualClock_) return;
    double exact = ms * kOutputRate / 1000.0 + virtualRemainder_;
    long frames = static_cast<long>(std::floor(exact));
    virtualRemainder_ = exact - static_cast<double>(frames);
    std::vector<std::int16_t> chunk(2 * kVirtualChunkFrames);
    for (long done = 0; done < frames;) {
        long count = std::min(frames - done, kVirtualChunkFrames);
        WaitForDecoders(count);
        mixer_.Render(chunk.data(), count);
        if (out != nullptr) out->insert(out->end(), chunk.begin(), chunk.begin() + 2 * count);
        done += count;
    }
    CollectRetired();
}

}  // namespace ov
