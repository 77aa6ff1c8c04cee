#include "audio/SoundLibrary.h"

#include "audio/AudioDevices.h"
#include "audio/NetworkSource.h"
#include "audio/SoundSource.h"
#include "audio/VoiceFeeder.h"
#include "core/Log.h"

#include <algorithm>

namespace ov {
namespace {

// Far beyond any burst the program makes; it bounds what an output that has
// stopped taking commands keeps.
constexpr std::size_t kBacklogLimit = 65536;

MixerCommand Command(MixerCommand::Kind kind, Voice* voice) {
    MixerCommand command;
    command.kind = kind;
    command.voice = voice;
    return command;
}

}  // namespace

SoundLibrary& SoundLibrary::Instance() {
    // Never destroyed: the device thread and the decoders may still run while
    // the process exits, and must not find the mixer gone.
    static SoundLibrary* library = new SoundLibrary;
    return *library;
}

SoundLibrary::SoundLibrary() = default;

template <typename Result, typename Action>
Result SoundLibrary::WithChannel(SoundHandle handle, Result missing, Action action) {
    std::lock_guard lock(mutex_);
    ReplaceLostOutput();
    // The pollers of a playing sound pass here every few milliseconds.
    FlushBacklog();
    SoundChannel* channel = registry_.Find(handle);
    if (channel == nullptr) return missing;
    return action(*channel);
}

void SoundLibrary::ReplaceOutput(std::unique_ptr<AudioOutput> output) {
    // The old output must have stopped rendering before the new one starts:
    // the mixer has one consumer at a time.
    output_.reset();
    output_ = std::move(output);
}

bool SoundLibrary::UseRealTimeOutput() {
    ReplaceOutput(OpenDeviceOutput(mixer_));
    if (output_ == nullptr && AudioDevices::Instance().FallBackToDummy()) ReplaceOutput(OpenDeviceOutput(mixer_));
    if (output_ != nullptr) return true;
    Log(LogLevel::Warning, "audio", "no playback device; sounds play on, unheard, through the null output");
    ReplaceOutput(MakeNullOutput(mixer_));
    return false;
}

// A device that went away is replaced here, on a caller's thread, never on
// the device's.
void SoundLibrary::ReplaceLostOutput() {
    if (output_ == nullptr || !output_->Lost()) return;
    Log(LogLevel::Warning, "audio", "lost the " + output_->Name() + "; opening the playback device again");
    // A driver whose server went away stays broken until it starts again;
    // that is only allowed once no device (the microphone too) is open.
    ReplaceOutput(nullptr);
    AudioDevices::Instance().Restart();
    UseRealTimeOutput();
}

// Without a chosen output the first sound opens the device.
AudioOutput& SoundLibrary::Output() {
    if (output_ == nullptr) UseRealTimeOutput();
    ReplaceLostOutput();
    return *output_;
}

bool SoundLibrary::OnVirtualClock() const {
    std::lock_guard lock(mutex_);
    return output_ != nullptr && output_->AdvancedByHand();
}

void SoundLibrary::UseVirtualClock() {
    std::lock_guard lock(mutex_);
    if (output_ != nullptr && output_->AdvancedByHand()) return;
    Log(LogLevel::Info, "audio", "switching to the virtual clock: sounds play only as fast as time is advanced");
    ReplaceOutput(MakeVirtualClock(mixer_, [this](long frames) { WaitForDecoders(frames); }));
    registry_.CollectRetired(mixer_);
}

bool SoundLibrary::UseDevice() {
    std::lock_guard lock(mutex_);
    return UseRealTimeOutput();
}

bool SoundLibrary::FlushBacklog() {
    while (!backlog_.empty()) {
        if (!mixer_.Send(backlog_.front())) return false;
        backlog_.pop_front();
    }
    return true;
}

// A burst larger than the mixer's queue waits in the backlog, in order, rather
// than the caller waiting for room: the caller is the window. Only an output
// that has stopped taking commands altogether fills the backlog; removals are
// kept even then, since the voice must outlive the mixer's use of it.
bool SoundLibrary::Send(const MixerCommand& command) {
    AudioOutput& output = Output();
    if (!FlushBacklog() || !mixer_.Send(command)) {
        if (backlog_.size() >= kBacklogLimit && command.kind != MixerCommand::Kind::Remove) {
            Log(LogLevel::Warning, "audio", "the " + output.Name() + " takes no commands; one was dropped");
            return false;
        }
        backlog_.push_back(command);
    }
    output.CommandsQueued();
    registry_.CollectRetired(mixer_);
    return true;
}

SoundHandle SoundLibrary::Adopt(std::unique_ptr<SoundChannel> channel) {
    if (registry_.Full()) {
        Log(LogLevel::Warning, "audio", "no free mixer slot: a sound was not opened");
        return 0;
    }
    if (!Send(Command(MixerCommand::Kind::Add, channel->voice.get()))) return 0;
    return registry_.Add(std::move(channel));
}

SoundHandle SoundLibrary::OpenFile(const std::string& path) {
    auto source = std::make_shared<std::unique_ptr<SoundSource>>(OpenSoundFile(path));
    if (*source == nullptr) return 0;
    auto channel = std::make_unique<SoundChannel>();
    std::int64_t length = (*source)->LengthFrames();
    channel->feeder =
        std::make_unique<VoiceFeeder>(channel->voice, [source] { return std::move(*source); }, length);
    std::lock_guard lock(mutex_);
    return Adopt(std::move(channel));
}

SoundHandle SoundLibrary::OpenUrl(const std::string& url, int timeoutMs) {
    auto channel = std::make_unique<SoundChannel>();
    std::weak_ptr<Voice> voice = channel->voice;
    channel->feeder = std::make_unique<VoiceFeeder>(channel->voice, [url, voice] { return OpenNetworkSource(url, voice); });
    if (!channel->feeder->WaitOpened(timeoutMs)) return 0;
    std::lock_guard lock(mutex_);
    return Adopt(std::move(channel));
}

void SoundLibrary::Free(SoundHandle handle) {
    std::unique_ptr<SoundChannel> channel;
    {
        std::lock_guard lock(mutex_);
        channel = registry_.Remove(handle);
        if (channel == nullptr) return;
        // The registry keeps the voice alive until the mixer lets go of it.
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
    std::lock_guard lock(mutex_);
    SoundChannel* channel = registry_.Find(handle);
    if (channel == nullptr) return false;
    if (channel->voice->ended.load(std::memory_order_acquire) && !channel->loop) SeekLocked(*channel, 0);
    // Not waiting for the decoder: a voice without frames yet plays silence
    // and does not move, so it starts on the callback after its first block.
    if (!Send(Command(MixerCommand::Kind::Play, channel->voice.get()))) return false;
    channel->activity = ChannelActivity::Playing;
    return true;
}

bool SoundLibrary::Pause(SoundHandle handle) {
    return WithChannel(handle, false, [this](SoundChannel& channel) {
        if (!Send(Command(MixerCommand::Kind::Pause, channel.voice.get()))) return false;
        if (channel.activity == ChannelActivity::Playing) channel.activity = ChannelActivity::Paused;
        return true;
    });
}

bool SoundLibrary::Stop(SoundHandle handle) {
    return WithChannel(handle, false, [this](SoundChannel& channel) {
        if (!Send(Command(MixerCommand::Kind::Pause, channel.voice.get()))) return false;
        channel.activity = ChannelActivity::Stopped;
        return true;
    });
}

ChannelActivity SoundLibrary::Activity(SoundHandle handle) {
    return WithChannel(handle, ChannelActivity::Stopped, [](SoundChannel& channel) {
        return channel.voice->ended.load(std::memory_order_acquire) ? ChannelActivity::Stopped : channel.activity;
    });
}

bool SoundLibrary::Ended(SoundHandle handle) {
    return WithChannel(handle, false,
                       [](SoundChannel& channel) { return channel.voice->ended.load(std::memory_order_acquire); });
}

std::int64_t SoundLibrary::PositionBytes(SoundHandle handle) {
    return WithChannel(handle, std::int64_t{-1}, [](SoundChannel& channel) {
        std::int64_t frame = channel.voice->position.load(std::memory_order_acquire);
        std::int64_t length = channel.feeder->LengthFrames();
        if (length > 0) frame = std::min(frame, length);
        return frame * kOutputBytesPerFrame;
    });
}

std::int64_t SoundLibrary::LengthBytes(SoundHandle handle) {
    return WithChannel(handle, std::int64_t{-1}, [](SoundChannel& channel) {
        return std::max<std::int64_t>(0, channel.feeder->LengthFrames()) * kOutputBytesPerFrame;
    });
}

bool SoundLibrary::SetPositionBytes(SoundHandle handle, std::int64_t bytes) {
    return WithChannel(handle, false, [this, bytes](SoundChannel& channel) {
        SeekLocked(channel, bytes / kOutputBytesPerFrame);
        return true;
    });
}

void SoundLibrary::SeekLocked(SoundChannel& channel, std::int64_t frame) {
    frame = std::max<std::int64_t>(0, frame);
    std::int64_t length = channel.feeder->LengthFrames();
    if (length > 0) frame = std::min(frame, length);
    Voice& voice = *channel.voice;
    voice.epoch.store(++channel.epoch, std::memory_order_release);
    voice.position.store(frame, std::memory_order_release);
    channel.feeder->Seek(frame, channel.epoch);
}

bool SoundLibrary::SendGains(SoundChannel& channel) {
    float volume = static_cast<float>(channel.volume) / 100.0f;
    float left = channel.pan > 0 ? 1.0f - static_cast<float>(channel.pan) / 100.0f : 1.0f;
    float right = channel.pan < 0 ? 1.0f + static_cast<float>(channel.pan) / 100.0f : 1.0f;
    MixerCommand command = Command(MixerCommand::Kind::Gains, channel.voice.get());
    command.left = volume * left;
    command.right = volume * right;
    return Send(command);
}

bool SoundLibrary::SetVolume(SoundHandle handle, int volume) {
    return WithChannel(handle, false, [this, volume](SoundChannel& channel) {
        channel.volume = std::clamp(volume, 0, 100);
        return SendGains(channel);
    });
}

bool SoundLibrary::SetPan(SoundHandle handle, int pan) {
    return WithChannel(handle, false, [this, pan](SoundChannel& channel) {
        channel.pan = std::clamp(pan, -100, 100);
        return SendGains(channel);
    });
}

int SoundLibrary::Pan(SoundHandle handle) {
    return WithChannel(handle, 0, [](SoundChannel& channel) { return channel.pan; });
}

bool SoundLibrary::SetTempo(SoundHandle handle, int thousandths) {
    return WithChannel(handle, false, [this, thousandths](SoundChannel& channel) {
        channel.feeder->SetTempo(std::clamp(thousandths, 250, 4000) / 1000.0);
        // What is already decoded ahead would keep the old speed for a third
        // of a second: decode again from what is being heard.
        SeekLocked(channel, channel.voice->position.load(std::memory_order_acquire));
        return true;
    });
}

bool SoundLibrary::SetLoop(SoundHandle handle, bool loop) {
    return WithChannel(handle, false, [loop](SoundChannel& channel) {
        channel.loop = loop;
        channel.feeder->SetLoop(loop);
        return true;
    });
}

bool SoundLibrary::SetBand(SoundHandle handle, int band, const BandSetting& setting) {
    if (band < 0 || band >= kEqBands) return false;
    return WithChannel(handle, false, [this, band, &setting](SoundChannel& channel) {
        MixerCommand command = Command(MixerCommand::Kind::Band, channel.voice.get());
        command.band = band;
        command.coefficients = PeakingCoefficients(setting, kOutputRate);
        return Send(command);
    });
}

bool SoundLibrary::LastPlayed(SoundHandle handle, std::array<std::uint32_t, WaveTap::kFrames>& words) {
    return WithChannel(handle, false, [&words](SoundChannel& channel) {
        channel.voice->wave.Read(words);
        return true;
    });
}

std::uint64_t SoundLibrary::FramesPlayed(SoundHandle handle) {
    return WithChannel(handle, std::uint64_t{0}, [](SoundChannel& channel) {
        return channel.voice->framesPlayed.load(std::memory_order_acquire);
    });
}

bool SoundLibrary::SendMasterVolume() {
    MixerCommand command = Command(MixerCommand::Kind::Master, nullptr);
    command.left = static_cast<float>(outputVolume_ * globalVolume_) / 10000.0f;
    return Send(command);
}

void SoundLibrary::SetOutputVolume(int volume) {
    std::lock_guard lock(mutex_);
    outputVolume_ = std::clamp(volume, 0, 100);
    SendMasterVolume();
}

void SoundLibrary::SetGlobalVolume(int volume) {
    std::lock_guard lock(mutex_);
    globalVolume_ = std::clamp(volume, 0, 100);
    SendMasterVolume();
}

void SoundLibrary::WaitForDecoders(long frames) {
    const std::size_t blocksNeeded = static_cast<std::size_t>(frames / kBlockFrames + 2);
    registry_.ForEach([&](SoundChannel& channel) {
        if (channel.activity != ChannelActivity::Playing) return;
        Voice& voice = *channel.voice;
        for (;;) {
            std::uint64_t seen = voice.progress.load(std::memory_order_acquire);
            std::uint32_t epoch = voice.epoch.load(std::memory_order_acquire);
            // Once the decoder works on the latest seek, nothing older can
            // arrive after what is dropped here.
            bool caughtUp = voice.feederEpoch.load(std::memory_order_acquire) == epoch;
            if (caughtUp) mixer_.DropStale(voice);
            bool ready = voice.ended.load() || voice.starved.load() || voice.doneEpoch.load() == epoch ||
                         (caughtUp && voice.blocks.Count() >= blocksNeeded);
            if (ready) return;
            channel.feeder->Wake();
            voice.progress.wait(seen, std::memory_order_acquire);
        }
    });
}

void SoundLibrary::AdvanceVirtualClock(double ms, std::vector<std::int16_t>* out) {
    std::lock_guard lock(mutex_);
    if (output_ == nullptr) return;
    output_->Advance(ms, out);
    registry_.CollectRetired(mixer_);
}

}  // namespace ov
