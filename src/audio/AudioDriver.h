#pragma once

#include <SDL2/SDL.h>

#include <string>

namespace ov {

// SDL's audio subsystem is set up once for the whole process, whoever asks
// first (player, recorder, drill). OV_AUDIO_DRIVER may name a driver or a
// comma-separated list tried in order ("pulseaudio,dummy"); without it SDL
// chooses (SDL_AUDIODRIVER is honoured). SDL never installs signal handlers,
// so Ctrl-C and SIGTERM keep working. Thread-safe; false when no driver at all
// could start.
bool InitAudioDriver();

// The driver in use, empty before InitAudioDriver succeeded.
std::string AudioDriverName();

// SDL_OpenAudioDevice on the default device. When the driver has no device
// (ALSA without a card, a server that went away), the subsystem is restarted
// on "dummy" and the device opened there, so playback and capture still run
// at real-time pace. 0 when even that fails.
SDL_AudioDeviceID OpenAudioDevice(bool capture, const SDL_AudioSpec& want, SDL_AudioSpec& have,
                                  int allowedChanges);

}  // namespace ov
