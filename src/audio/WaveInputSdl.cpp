#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <deque>
#include <string>

#include "audio/AudioDevices.h"
#include "audio/SpscRing.h"
#include "audio/WaveInput.h"
#include "core/Log.h"
#include "core/MessageHook.h"

namespace ov {
namespace {

constexpr int kCallbackFrames = 1024;
// Sound captured while no buffer is queued (the owner's thread is busy, or the
// recording hit its limit) is kept up to this long, then dropped.
constexpr uint32_t kBacklogSeconds = 30;
constexpr size_t kBlockBytes = 4096;

// What one callback delivered, or a piece of it.
struct CapturedBlock {
    std::array<uint8_t, kBlockBytes> bytes;
    size_t length;
};

// The capture callback runs on the device's real-time thread: it only copies
// into a ring allocated when the device opens, never locks, allocates or
// wakes anyone. The owner's thread moves the sound into its queued buffers
// when it collects.
class SdlWaveInput final : public WaveInput {
public:
    explicit SdlWaveInput(const WaveFormat& format)
        : FCaptured(std::max<size_t>(1, format.AvgBytesPerSec * kBacklogSeconds / kBlockBytes)) {}
    ~SdlWaveInput() override { Close(); }

    bool OpenDevice(const WaveFormat& format) {
        AudioDeviceRequest request;
        request.capture = true;
        request.rate = static_cast<int>(format.SamplesPerSec);
        request.channels = format.Channels;
        request.bitsPerSample = format.BitsPerSample;
        request.frames = kCallbackFrames;
        request.callback = &SdlWaveInput::Captured;
        request.user = this;
        FDevice = AudioDevices::Instance().Open(request);
        return FDevice != 0;
    }

    int Prepare(WaveHeader& header) override {
        header.flags |= kWaveHeaderPrepared;
        return kWaveNoError;
    }

    int AddBuffer(WaveHeader& header) override {
        if ((header.flags & kWaveHeaderPrepared) == 0 || !header.data) return kWaveUnprepared;
        header.bytesRecorded = 0;
        header.flags = (header.flags & ~kWaveHeaderDone) | kWaveHeaderQueued;
        FQueued.push_back(&header);
        Collect();
        return kWaveNoError;
    }

    int Start() override {
        AudioDevices::Instance().Resume(FDevice);
        return kWaveNoError;
    }

    int Reset() override {
        // Once paused, the callback no longer runs: what is in the ring is all there is.
        AudioDevices::Instance().Pause(FDevice);
        Collect();
        while (FCaptured.Front() != nullptr) FCaptured.Pop();
        FFrontOffset = 0;
        while (!FQueued.empty()) HandBackFront();
        return kWaveNoError;
    }

    int Unprepare(WaveHeader& header) override {
        if ((header.flags & kWaveHeaderQueued) != 0) return kWaveStillQueued;
        header.flags &= ~kWaveHeaderPrepared;
        return kWaveNoError;
    }

    int Close() override {
        AudioDevices::Instance().Close(FDevice);
        FDevice = 0;
        return kWaveNoError;
    }

    // Oldest sound first: buffers take it in the order they were queued.
    void Collect() override {
        NoteDropped();
        while (!FQueued.empty()) {
            CapturedBlock* block = FCaptured.Front();
            if (block == nullptr) return;
            WaveHeader& h = *FQueued.front();
            const size_t n = std::min<size_t>(h.bufferLength - h.bytesRecorded, block->length - FFrontOffset);
            std::memcpy(h.data.get() + h.bytesRecorded, block->bytes.data() + FFrontOffset, n);
            h.bytesRecorded += static_cast<uint32_t>(n);
            FFrontOffset += n;
            if (FFrontOffset == block->length) {
                FCaptured.Pop();
                FFrontOffset = 0;
            }
            if (h.bytesRecorded == h.bufferLength) HandBackFront();
        }
    }

private:
    static void Captured(void* self, uint8_t* stream, int length) {
        static_cast<SdlWaveInput*>(self)->Take(stream, static_cast<size_t>(length));
    }

    // When the ring is full the newest sound is the one dropped.
    void Take(const uint8_t* bytes, size_t length) {
        while (length > 0) {
            CapturedBlock* block = FCaptured.BackSlot();
            if (block == nullptr) {
                FDropped.fetch_add(length, std::memory_order_relaxed);
                return;
            }
            block->length = std::min(length, kBlockBytes);
            std::memcpy(block->bytes.data(), bytes, block->length);
            FCaptured.Push();
            bytes += block->length;
            length -= block->length;
        }
    }

    void NoteDropped() {
        const size_t dropped = FDropped.exchange(0, std::memory_order_relaxed);
        if (dropped == 0) return;
        Log(LogLevel::Warning, "audio",
            "capture backlog full: " + std::to_string(dropped) + " bytes of sound dropped while nobody collected");
    }

    void HandBackFront() {
        WaveHeader* h = FQueued.front();
        FQueued.pop_front();
        h->flags = (h->flags & ~kWaveHeaderQueued) | kWaveHeaderDone;
        Done().Push(h);
    }

    AudioDeviceId FDevice = 0;
    SpscRing<CapturedBlock> FCaptured;  // capture thread -> owner's thread
    size_t FFrontOffset = 0;            // bytes of the front block already collected
    std::atomic<size_t> FDropped{0};
    std::deque<WaveHeader*> FQueued;    // owner's thread only
};

// A pupil pressing "录音" on a machine without a microphone would otherwise
// think it records; telling once per run is enough.
void TellNoMicrophoneOnce() {
    static std::atomic<bool> told{false};
    if (told.exchange(true)) return;
    ShowMessageEx("提示", "没有找到可以录音的设备", 0);
}

class SdlDriver final : public WaveInputDriver {
public:
    int Query(int, const WaveFormat& format) override {
        if (!AudioDevices::Instance().Init()) return kWaveBadDevice;
        const bool pcm = format.FormatTag == 1 && (format.BitsPerSample == 8 || format.BitsPerSample == 16);
        const bool shape = format.Channels >= 1 && format.Channels <= 2 && format.SamplesPerSec > 0;
        return pcm && shape ? kWaveNoError : kWaveBadFormat;
    }

    std::unique_ptr<WaveInput> Open(int deviceId, const WaveFormat& format, int& result) override {
        result = Query(deviceId, format);
        if (result != kWaveNoError) return nullptr;
        auto input = std::make_unique<SdlWaveInput>(format);
        if (input->OpenDevice(format)) return input;
        result = kWaveBadDevice;
        TellNoMicrophoneOnce();
        return nullptr;
    }
};

}  // namespace

std::shared_ptr<WaveInputDriver> SdlWaveInputDriver() { return std::make_shared<SdlDriver>(); }

}  // namespace ov
