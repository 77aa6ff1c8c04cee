#include "audio/AudioDevices.h"

#include "core/Log.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace ov {
namespace {

SDL_AudioFormat SampleFormat(const AudioDeviceRequest& request) {
    if (request.bitsPerSample == 8) return AUDIO_U8;
    // Recordings are written as they come, and WAV is little-endian.
    return request.capture ? AUDIO_S16LSB : AUDIO_S16SYS;
}

}  // namespace

AudioDevices& AudioDevices::Instance() {
    // Never destroyed: device threads may still call back while the process exits.
    static AudioDevices* devices = new AudioDevices;
    return *devices;
}

bool AudioDevices::InitLocked() {
    if (SDL_GetCurrentAudioDriver() != nullptr) return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const char* chosen = std::getenv("OV_AUDIO_DRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, chosen, SDL_HINT_OVERRIDE);
    } else {
        // An earlier fallback must not keep a restarted subsystem on "dummy".
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
    return StartDummyLocked(std::string("no audio driver started (") + SDL_GetError() + ")");
}

bool AudioDevices::StartDummyLocked(const std::string& reason) {
    Log(LogLevel::Warning, "audio", reason + "; falling back to the null audio driver");
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

bool AudioDevices::Init() {
    std::lock_guard lock(mutex_);
    return InitLocked();
}

std::string AudioDevices::DriverName() {
    std::lock_guard lock(mutex_);
    const char* name = SDL_GetCurrentAudioDriver();
    return name != nullptr ? name : "";
}

AudioDeviceId AudioDevices::Open(const AudioDeviceRequest& request) {
    std::lock_guard lock(mutex_);
    if (!InitLocked()) return 0;
    SDL_AudioSpec want{};
    want.freq = request.rate;
    want.format = SampleFormat(request);
    want.channels = static_cast<Uint8>(request.channels);
    want.samples = static_cast<Uint16>(request.frames);
    want.callback = request.callback;
    want.userdata = request.user;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, request.capture ? 1 : 0, &want, &have, 0);
    if (id == 0) {
        Log(LogLevel::Warning, "audio",
            std::string(request.capture ? "capture" : "playback") + " device did not open on " +
                SDL_GetCurrentAudioDriver() + ": " + SDL_GetError());
        return 0;
    }
    open_.insert(id);
    return id;
}

void AudioDevices::Close(AudioDeviceId id) {
    std::lock_guard lock(mutex_);
    if (open_.erase(id) == 0) return;
    SDL_CloseAudioDevice(id);
}

void AudioDevices::Pause(AudioDeviceId id) { SDL_PauseAudioDevice(id, 1); }

void AudioDevices::Resume(AudioDeviceId id) { SDL_PauseAudioDevice(id, 0); }

bool AudioDevices::Lost(AudioDeviceId id) { return SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_STOPPED; }

bool AudioDevices::Shutdown() {
    std::lock_guard lock(mutex_);
    if (!open_.empty()) return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return true;
}

bool AudioDevices::FallBackToDummy() {
    std::lock_guard lock(mutex_);
    const char* current = SDL_GetCurrentAudioDriver();
    if (!open_.empty() || (current != nullptr && std::string(current) == "dummy")) return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return StartDummyLocked(std::string("no playback device on ") + (current != nullptr ? current : "any driver"));
}

bool AudioDevices::Restart() {
    std::lock_guard lock(mutex_);
    if (!open_.empty()) return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return InitLocked();
}

}  // namespace ov
