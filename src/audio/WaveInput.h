#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "audio/WaveFile.h"

namespace ov {

// Results of the capture calls; only their low byte is ever kept.
constexpr int kWaveNoError = 0;
constexpr int kWaveBadDevice = 2;
constexpr int kWaveBadFormat = 32;
constexpr int kWaveStillQueued = 33;
constexpr int kWaveUnprepared = 34;

constexpr uint32_t kWaveHeaderDone = 0x01;
constexpr uint32_t kWaveHeaderPrepared = 0x02;
constexpr uint32_t kWaveHeaderQueued = 0x10;

// One capture buffer. While queued the capture side owns it; once handed back
// it belongs to the owner's thread again.
struct WaveHeader {
    std::unique_ptr<uint8_t[]> data;
    uint32_t bufferLength = 0;
    uint32_t bytesRecorded = 0;
    const void* user = nullptr;
    uint32_t flags = 0;
};

// Filled buffers on their way back to the owner's thread, in the order they
// were filled. A capture side that runs on a real-time thread does not push
// here itself (see WaveInput::Collect).
class WaveHandOff {
public:
    void Push(WaveHeader* header);
    WaveHeader* TryTake();

private:
    std::mutex FMutex;
    std::deque<WaveHeader*> FDone;
};

// An open capture device. Calls come from the owner's thread; buffers come
// back through Done() and nowhere else, so the owner handles them in its own
// thread and in order.
class WaveInput {
public:
    virtual ~WaveInput() = default;
    virtual int Prepare(WaveHeader& header) = 0;
    virtual int AddBuffer(WaveHeader& header) = 0;
    virtual int Start() = 0;
    // Stops capturing and hands back every queued buffer with what it holds.
    virtual int Reset() = 0;
    virtual int Unprepare(WaveHeader& header) = 0;
    virtual int Close() = 0;

    // Owner's thread: fills the queued buffers with what was captured since
    // and moves the full ones to Done().
    virtual void Collect() {}

    WaveHandOff& Done() { return FDone; }

private:
    WaveHandOff FDone;
};

// Asks about and opens the capture device.
class WaveInputDriver {
public:
    virtual ~WaveInputDriver() = default;
    virtual int Query(int deviceId, const WaveFormat& format) = 0;
    // Null with the reason in `result` when the device cannot be opened.
    virtual std::unique_ptr<WaveInput> Open(int deviceId, const WaveFormat& format, int& result) = 0;
};

// Capture through SDL from the default input device.
std::shared_ptr<WaveInputDriver> SdlWaveInputDriver();

}  // namespace ov
