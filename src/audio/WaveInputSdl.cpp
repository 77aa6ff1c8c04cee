#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "audio/AudioDriver.h"
#include "audio/WaveInput.h"

namespace ov {
namespace {

constexpr Uint16 kCallbackFrames = 1024;
// Sound captured while no buffer is queued (the owner's thread is busy, or the
// recording hit its limit) is kept up to this long, then dropped.
constexpr uint32_t kBacklogSeconds = 30;

class SdlWaveInput final : public WaveInput {
public:
    // The backlog is allocated here, once: the capture thread never allocates.
    explicit SdlWaveInput(const TWaveFormat& format) : FBacklog(format.AvgBytesPerSec * kBacklogSeconds) {}
    ~SdlWaveInput() override { Close(); }

    bool OpenDevice(const TWaveFormat& format) {
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(format.SamplesPerSec);
        want.format = format.BitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        want.channels = static_cast<Uint8>(format.Channels);
        want.samples = kCallbackFrames;
        want.callback = &SdlWaveInput::Captured;
        want.userdata = this;
        SDL_AudioSpec have{};
        FDevice = OpenAudioDevice(true, want, have, 0);
        return FDevice != 0;
    }

    int Prepare(WaveHeader& header) override {
        header.flags |= kWaveHeaderPrepared;
        return kWaveNoError;
    }

    int AddBuffer(WaveHeader& header) override {
        if ((header.flags & kWaveHeaderPrepared) == 0 || !header.data) return kWaveUnprepared;
        std::lock_guard lock(FMutex);
        header.bytesRecorded = 0;
        header.flags = (header.flags & ~kWaveHeaderDone) | kWaveHeaderQueued;
        FQueued.push_back(&header);
        FillFromBacklog();
        return kWaveNoError;
    }

    int Start() override {
        SDL_PauseAudioDevice(FDevice, 0);
        return kWaveNoError;
    }

    int Reset() override {
        SDL_PauseAudioDevice(FDevice, 1);
        std::lock_guard lock(FMutex);
        FillFromBacklog();
        FBacklogStart = 0;
        FBacklogCount = 0;
        while (!FQueued.empty()) HandBackFront();
        return kWaveNoError;
    }

    int Unprepare(WaveHeader& header) override {
        if ((header.flags & kWaveHeaderQueued) != 0) return kWaveStillQueued;
        header.flags &= ~kWaveHeaderPrepared;
        return kWaveNoError;
    }

    int Close() override {
        if (FDevice != 0) SDL_CloseAudioDevice(FDevice);
        FDevice = 0;
        return kWaveNoError;
    }

private:
    static void SDLCALL Captured(void* self, Uint8* stream, int length) {
        static_cast<SdlWaveInput*>(self)->Take(stream, static_cast<size_t>(length));
    }

    void Take(const uint8_t* bytes, size_t length) {
        std::lock_guard lock(FMutex);
        // When the backlog is full the newest sound is the one dropped.
        const size_t n = std::min(length, FBacklog.size() - FBacklogCount);
        if (n > 0) {
            const size_t end = (FBacklogStart + FBacklogCount) % FBacklog.size();
            const size_t first = std::min(n, FBacklog.size() - end);
            std::memcpy(FBacklog.data() + end, bytes, first);
            std::memcpy(FBacklog.data(), bytes + first, n - first);
            FBacklogCount += n;
        }
        FillFromBacklog();
    }

    // Oldest sound first: buffers take the backlog in the order they were queued.
    void FillFromBacklog() {
        while (!FQueued.empty() && FBacklogCount > 0) {
            WaveHeader& h = *FQueued.front();
            const size_t n = std::min<size_t>(h.bufferLength - h.bytesRecorded, FBacklogCount);
            const size_t first = std::min(n, FBacklog.size() - FBacklogStart);
            uint8_t* out = h.data.get() + h.bytesRecorded;
            std::memcpy(out, FBacklog.data() + FBacklogStart, first);
            std::memcpy(out + first, FBacklog.data(), n - first);
            FBacklogStart = (FBacklogStart + n) % FBacklog.size();
            FBacklogCount -= n;
            h.bytesRecorded += static_cast<uint32_t>(n);
            if (h.bytesRecorded == h.bufferLength) HandBackFront();
        }
    }

    void HandBackFront() {
        WaveHeader* h = FQueued.front();
        FQueued.pop_front();
        h->flags = (h->flags & ~kWaveHeaderQueued) | kWaveHeaderDone;
        Done().Push(h);
    }

    SDL_AudioDeviceID FDevice = 0;
    std::mutex FMutex;
    std::deque<WaveHeader*> FQueued;
    std::vector<uint8_t> FBacklog;  // a ring: FBacklogCount bytes from FBacklogStart
    size_t FBacklogStart = 0;
    size_t FBacklogCount = 0;
};

class SdlDriver final : public WaveInputDriver {
public:
    int Query(int, const TWaveFormat& format) override {
        if (!InitAudioDriver()) return kWaveBadDevice;
        const bool pcm = format.FormatTag == 1 && (format.BitsPerSample == 8 || format.BitsPerSample == 16);
        const bool shape = format.Channels >= 1 && format.Channels <= 2 && format.SamplesPerSec > 0;
        return pcm && shape ? kWaveNoError : kWaveBadFormat;
    }

    std::unique_ptr<WaveInput> Open(int deviceId, const TWaveFormat& format, int& result) override {
        result = Query(deviceId, format);
        if (result != kWaveNoError) return nullptr;
        auto input = std::make_unique<SdlWaveInput>(format);
        if (input->OpenDevice(format)) return input;
        result = kWaveBadDevice;
        return nullptr;
    }
};

}  // namespace

std::shared_ptr<WaveInputDriver> SdlWaveInputDriver() { return std::make_shared<SdlDriver>(); }

}  // namespace ov
