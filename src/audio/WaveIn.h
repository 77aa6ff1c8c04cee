#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/WaveFile.h"
#include "audio/WaveInput.h"

namespace ov {

// The system's default capture device.
class WaveDevice {
public:
    explicit WaveDevice(std::shared_ptr<WaveInputDriver> driver) : FDriver(std::move(driver)) {}

    bool SupportsFormat(const WaveFile& wave) const;
    int DeviceId() const { return FDeviceId; }
    WaveInputDriver& Driver() const { return *FDriver; }

private:
    int FDeviceId = -1;
    std::shared_ptr<WaveInputDriver> FDriver;
};

// Records into a list of chunks with two buffers in turn. Every call,
// including the handling of filled buffers, belongs to the owner's thread:
// the capture thread only hands over what it captured, so the owner calls
// ProcessNotifications from its loop.
class WaveIn {
public:
    // A recording stops taking sound after this many chunks (640 s).
    static constexpr size_t kMaxChunks = 10000;

    WaveIn() = default;
    WaveIn(const WaveIn&) = delete;
    WaveIn& operator=(const WaveIn&) = delete;
    ~WaveIn();

    void SetFormat(const WaveFormat& format);
    void SetDevice(WaveDevice* device) { FDevice = device; }
    bool Open();
    bool Start(int bufferSize);
    bool Stop();
    bool Close();
    bool QueueBuffer();
    void BufferDone(WaveHeader& header);
    void ClearChunks() { FChunks.clear(); }
    void FreeHeaders();
    int64_t TotalFrames() const;
    WaveFile& BuildWave();

    // Handles every buffer the capture side has handed back; their count.
    int ProcessNotifications();

    bool IsOpen() const { return FHandle != nullptr; }
    uint8_t LastError() const { return FLastError; }
    const std::vector<WaveBuffer>& Chunks() const { return FChunks; }

private:
    void Note(int result) { FLastError = static_cast<uint8_t>(result & 0xFF); }

    bool FStopping = false;
    std::unique_ptr<WaveInput> FHandle;
    std::vector<WaveBuffer> FChunks;
    uint8_t FLastError = 0;
    int FHeaderIndex = 0;
    int FBufferSize = 0;
    std::array<WaveHeader, 2> FHeaders;
    WaveFile FWave;
    WaveDevice* FDevice = nullptr;
};

}  // namespace ov
