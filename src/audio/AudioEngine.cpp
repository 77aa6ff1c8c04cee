#include "audio/AudioEngine.h"

#include "audio/FileDurations.h"
#include "audio/NetworkSource.h"
#include "audio/Spectrum.h"
#include "core/CoursewarePath.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace ov {
namespace {

constexpr int kUrlOpenTimeoutMs = 10000;
constexpr float kBandwidthSemitones = 3.0f;
constexpr int kEndMarginMs = 50;

int Milliseconds(std::int64_t bytes) {
    double ms = BytesToSeconds(bytes) * 1000.0;
    return ms < 0 ? 0 : static_cast<int>(ms);
}

// The extension as the file-name functions take it: from the last "." after
// the last folder separator, dot included.
std::string Extension(const std::string& name) {
    std::size_t dot = name.find_last_of(".\\/");
    if (dot == std::string::npos || name[dot] != '.') return "";
    return name.substr(dot);
}

}  // namespace

// No output set-up here: the library opens the one device of the process
// when it is first needed, so a new engine never cuts off another one's sound.
TAudioEngine::TAudioEngine(std::intptr_t window) : Window(window) {}

TAudioEngine::~TAudioEngine() {
    Stop();
    FreeChannel();
}

void TAudioEngine::FreeChannel() {
    if (Channel == 0) return;
    SoundLibrary::Instance().Free(Channel);
    Channel = 0;
}

void TAudioEngine::ApplyEqualiser() {
    for (int band = 0; band < kBandCount; ++band) {
        BandSetting setting{static_cast<float>(kBandCentres[band]), kBandwidthSemitones, BandGains[band]};
        SoundLibrary::Instance().SetBand(Channel, band, setting);
    }
}

void TAudioEngine::ApplyChannelSettings() {
    auto& library = SoundLibrary::Instance();
    ApplyEqualiser();
    if (tempo_ != 1000) library.SetTempo(Channel, tempo_);
    if (loop_) library.SetLoop(Channel, true);
}

void TAudioEngine::Play(const std::string& name) {
    auto& library = SoundLibrary::Instance();
    Volume = 100.0f;
    FileName = name;
    network_ = IsNetworkName(name);
    if (network_) {
        PlayURL(name);
        return;
    }
    FreeChannel();
    Channel = library.OpenFile(name);
    if (Channel == 0) return;
    ApplyChannelSettings();
    library.Play(Channel);
    LengthBytes = library.LengthBytes(Channel);
    library.SetVolume(Channel, static_cast<int>(Volume));
    appliedVolume_ = static_cast<int>(Volume);
    State = kPlaying;
}

bool TAudioEngine::PlayURL(const std::string& name) {
    auto& library = SoundLibrary::Instance();
    FileName = name;
    network_ = IsNetworkName(name);
    FreeChannel();
    Channel = library.OpenUrl(name, kUrlOpenTimeoutMs);
    bool playing = false;
    if (Channel != 0) {
        ApplyChannelSettings();
        playing = library.Play(Channel);
    }
    LengthBytes = std::max<std::int64_t>(0, library.LengthBytes(Channel));
    State = kPlaying;
    return playing;
}

void TAudioEngine::Pause() {
    SoundLibrary::Instance().Pause(Channel);
    State = kPaused;
}

void TAudioEngine::Resume() {
    SoundLibrary::Instance().Play(Channel);
    State = kPlaying;
}

void TAudioEngine::Stop() {
    SoundLibrary::Instance().Stop(Channel);
    State = kStopped;
}

bool TAudioEngine::IsSupportedFile(const std::string& name) {
    static const char* const kExtensions[] = {".mp1", ".mp2", ".mp3", ".wav", ".ogg", ".mod",
                                              ".s3m", ".it",  ".umx", ".mo3", ".mtm", ".xm"};
    std::string extension = AsciiLower(Extension(name));
    return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                       [&](const char* known) { return extension == known; });
}

int TAudioEngine::GetPosition() {
    if (State == kStopped || State == kFinished) return 0;
    return Milliseconds(SoundLibrary::Instance().PositionBytes(Channel));
}

int TAudioEngine::GetLength() { return Milliseconds(LengthBytes); }

std::string TAudioEngine::GetFileName() { return FileName; }

int TAudioEngine::GetPan() { return SoundLibrary::Instance().Pan(Channel); }

bool TAudioEngine::ChannelIsPlaying() {
    return State == kPlaying && SoundLibrary::Instance().Activity(Channel) == ChannelActivity::Playing;
}

void TAudioEngine::GetWaveData(WaveBlock& block) {
    block.fill(0);
    std::array<std::uint32_t, WaveTap::kFrames> frames;
    if (!ChannelIsPlaying() || !SoundLibrary::Instance().LastPlayed(Channel, frames)) return;
    // 2048 bytes: the newest 512 frames.
    std::copy(frames.end() - 512, frames.end(), block.begin());
}

std::string TAudioEngine::GetFilter() {
    return "mp1/mp2/mp3/wav/ogg/mod/s3m/it/umx/mo3/mtm/xm|*.mp1;*.mp2;*.mp3;*.wav;*.ogg;*.mod;*.s3m;*.it;*.umx;"
           "*.mo3;*.mtm;*.xm|Streams (mp1/mp2/mp3/wav/ogg)|*.mp1;*.mp2;*.mp3;*.wav;*.ogg|Trackers "
           "(mod/s3m/it/umx/mo3/mtm/xm)|*.mod;*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm";
}

void TAudioEngine::GetFFTData(SpectrumBlock& block) {
    block.fill(0);
    std::array<std::uint32_t, WaveTap::kFrames> frames;
    if (!ChannelIsPlaying() || !SoundLibrary::Instance().LastPlayed(Channel, frames)) return;
    std::array<float, 512> magnitudes = Spectrum1024(frames);
    std::memcpy(block.data(), magnitudes.data(), sizeof magnitudes);
}

int TAudioEngine::GetFileDuration(const std::string& name) { return FileDurations::Shared().Milliseconds(name); }

void TAudioEngine::SetPosition(int ms) {
    SoundLibrary::Instance().SetPositionBytes(Channel, SecondsToBytes(ms / 1000.0));
}

void TAudioEngine::SetVolume(int value) { SoundLibrary::Instance().SetOutputVolume(value); }

void TAudioEngine::SetGlobalVolumes(int value) { SoundLibrary::Instance().SetGlobalVolume(value); }

void TAudioEngine::SetPan(int value) { SoundLibrary::Instance().SetPan(Channel, value); }

std::int32_t TAudioEngine::GetState() { return State; }

void TAudioEngine::EngineTick() {
    auto& library = SoundLibrary::Instance();
    Volume = std::clamp(Volume, 0.0f, 100.0f);
    if (static_cast<int>(Volume) != appliedVolume_ && library.SetVolume(Channel, static_cast<int>(Volume))) {
        appliedVolume_ = static_cast<int>(Volume);
    }
    if (network_) return;
    // Besides the position test, a channel that ran dry counts as finished:
    // an MP3 without a header may be shorter than its estimated length, and
    // its position would then never reach the end.
    bool ranDry = State == kPlaying && library.Ended(Channel);
    if (State != kStopped && (GetPosition() >= GetLength() - kEndMarginMs || ranDry)) {
        Stop();
        Volume = 100.0f;
        State = kFinished;
    } else if (std::error_code error; !std::filesystem::exists(FileName, error)) {
        // The data may still be buffered; a vanished file must not keep playing unseen.
        if (State != kStopped) Stop();
        State = kStopped;
    }
}

void TAudioEngine::SetBandGain(int band, float gainDb) {
    if (band < 0 || band >= kBandCount) return;
    BandGains[band] = gainDb;
    if (Channel != 0) ApplyEqualiser();
}

void TAudioEngine::SetTempo(int thousandths) {
    tempo_ = thousandths;
    if (Channel != 0) SoundLibrary::Instance().SetTempo(Channel, thousandths);
}

void TAudioEngine::SetLoop(bool loop) {
    loop_ = loop;
    if (Channel != 0) SoundLibrary::Instance().SetLoop(Channel, loop);
}

}  // namespace ov
