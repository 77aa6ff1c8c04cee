#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace ov {

using AudioDeviceId = std::uint32_t;

// Called on the device's own thread with `length` bytes to fill (playback) or
// to take (capture). It must not lock, allocate or wait.
using AudioDeviceCallback = void (*)(void* user, std::uint8_t* stream, int length);

struct AudioDeviceRequest {
    bool capture = false;
    int rate = 0;
    int channels = 0;
    int bitsPerSample = 16;  // 8: unsigned; 16: signed
    int frames = 1024;       // per callback
    AudioDeviceCallback callback = nullptr;
    void* user = nullptr;
};

// The one owner of SDL's audio subsystem and of every device open on it
// (the player's output, the recorder's microphone). The subsystem is set up
// once for the whole process, whoever asks first; OV_AUDIO_DRIVER may name a
// driver or a comma-separated list tried in order ("pulseaudio,dummy"),
// otherwise SDL chooses (SDL_AUDIODRIVER is honoured), and when no driver
// starts the silent "dummy" one is used. SDL never installs signal handlers,
// so Ctrl-C and SIGTERM keep working.
//
// A device that fails to open is reported to its caller and nothing else
// changes: the subsystem is never restarted while any device is open, so a
// missing microphone cannot silence the speakers. Thread-safe.
class AudioDevices {
public:
    static AudioDevices& Instance();

    // False when not even the dummy driver could start.
    bool Init();
    // The driver in use, empty before Init succeeded.
    std::string DriverName();

    // Opens the default device paused, converting to and from the asked format
    // (every callback gets exactly `frames` frames of it); 0 when it cannot.
    AudioDeviceId Open(const AudioDeviceRequest& request);
    void Close(AudioDeviceId id);
    // Once Pause returns the callback is not running and will not run again
    // until Resume.
    void Pause(AudioDeviceId id);
    void Resume(AudioDeviceId id);
    // The device went away (server stopped, card unplugged); it only waits to be closed.
    bool Lost(AudioDeviceId id);

    // Shuts the subsystem down so that the next Init chooses the driver anew
    // (tests switching drivers). Refused, false, while a device is open.
    bool Shutdown();
    // Starts the silent "dummy" driver in place of one that gives no device
    // (ALSA without a card). Refused, false, while a device is open or when
    // already on it.
    bool FallBackToDummy();
    // Shuts down and starts again, so that a sound server that came back is
    // found (or the dummy driver is used when none did). Refused, false,
    // while a device is open.
    bool Restart();

    AudioDevices(const AudioDevices&) = delete;
    AudioDevices& operator=(const AudioDevices&) = delete;

private:
    AudioDevices() = default;
    bool InitLocked();
    bool StartDummyLocked(const std::string& reason);

    std::mutex mutex_;
    std::set<AudioDeviceId> open_;
};

}  // namespace ov
