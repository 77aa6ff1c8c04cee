#include "audio/AudioDriver.h"

#include <cstdlib>
#include <mutex>
#include <string>

namespace ov {
namespace {

std::mutex& DriverMutex() {
    static std::mutex m;
    return m;
}

bool InitLocked() {
    if (SDL_GetCurrentAudioDriver() != nullptr) return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const char* chosen = std::getenv("OV_AUDIO_DRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, chosen, SDL_HINT_OVERRIDE);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

bool InitAudioDriver() {
    std::lock_guard lock(DriverMutex());
    return InitLocked();
}

std::string AudioDriverName() {
    std::lock_guard lock(DriverMutex());
    const char* name = SDL_GetCurrentAudioDriver();
    return name != nullptr ? name : "";
}

SDL_AudioDeviceID OpenAudioDevice(bool capture, const SDL_AudioSpec& want, SDL_AudioSpec& have,
                                  int allowedChanges) {
    std::lock_guard lock(DriverMutex());
    if (!InitLocked()) return 0;
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, allowedChanges);
    if (id != 0) return id;
    const char* current = SDL_GetCurrentAudioDriver();
    if (current != nullptr && std::string(current) == "dummy") return 0;
    SDL_AudioQuit();
    if (SDL_AudioInit("dummy") != 0) return 0;
    return SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, allowedChanges);
}

}  // namespace ov
