#include "audio/WaveIn.h"

#include <cstring>
#include <numeric>

#include "core/MessageHook.h"

namespace ov {

bool WaveDevice::SupportsFormat(const WaveFile& wave) const {
    return FDriver->Query(FDeviceId, wave.GetFormat()) == kWaveNoError;
}

WaveIn::~WaveIn() { Close(); }

void WaveIn::SetFormat(const WaveFormat& format) {
    FWave.SetFormat(format.Channels, static_cast<int>(format.SamplesPerSec), format.BitsPerSample);
}

bool WaveIn::Open() {
    if (FDevice == nullptr) return false;
    Close();
    int result = kWaveNoError;
    FHandle = FDevice->Driver().Open(FDevice->DeviceId(), FWave.GetFormat(), result);
    Note(result);
    return FHandle != nullptr;
}

bool WaveIn::Start(int bufferSize) {
    // Without whole frames a filled buffer could not be cut into chunks.
    if (bufferSize <= 0 || !FHandle || FWave.GetFormat().BlockAlign == 0) return false;
    Stop();
    FStopping = false;
    ClearChunks();
    FreeHeaders();
    const WaveFormat format = FWave.GetFormat();
    FWave.SetFormat(format.Channels, static_cast<int>(format.SamplesPerSec), format.BitsPerSample);
    FHeaderIndex = 1;
    FBufferSize = bufferSize;
    if (!QueueBuffer() || !QueueBuffer()) return false;
    const int result = FHandle->Start();
    Note(result);
    return result == kWaveNoError;
}

bool WaveIn::Stop() {
    if (!FHandle) return true;
    // What was captured before the stop belongs to the recording, however long
    // the owner's thread left it waiting.
    ProcessNotifications();
    FStopping = true;
    // The reset pauses the device, which waits for a capture callback under
    // way, so no settling time is needed before it.
    Note(FHandle->Reset());
    ProcessNotifications();
    return true;
}

bool WaveIn::Close() {
    if (!FHandle) return true;
    Stop();
    FHandle->Close();
    FHandle.reset();
    return true;
}

bool WaveIn::QueueBuffer() {
    if (FBufferSize <= 0 || !FHandle) return false;
    FHeaderIndex = FHeaderIndex == 1 ? 0 : FHeaderIndex + 1;
    WaveHeader& h = FHeaders[FHeaderIndex];
    if (!h.data) h.data = std::make_unique<uint8_t[]>(static_cast<size_t>(FBufferSize));
    std::memset(h.data.get(), 0, static_cast<size_t>(FBufferSize));
    h.bufferLength = static_cast<uint32_t>(FBufferSize);
    h.flags = 0;
    h.user = this;
    Note(FHandle->Prepare(h));
    Note(FHandle->AddBuffer(h));
    return true;
}

void WaveIn::BufferDone(WaveHeader& h) {
    if (h.user != this || !FHandle) return;
    if ((h.flags & kWaveHeaderDone) != 0) {
        h.flags = 0;
        const int result = FHandle->Unprepare(h);
        Note(result);
        if (result != kWaveNoError) return;
        if (h.bytesRecorded > 0) {
            if (FChunks.size() >= kMaxChunks) {
                ShowMessageEx("提示", "录时时间超过限制，请停止", 0);
                return;
            }
            const int frameSize = FWave.GetFormat().BlockAlign;
            FChunks.emplace_back(h.data.get(), static_cast<int>(h.bytesRecorded) / frameSize, frameSize);
        }
        h.data.reset();
    }
    if (FStopping) return;
    QueueBuffer();
}

void WaveIn::FreeHeaders() {
    for (WaveHeader& h : FHeaders) h.data.reset();
}

int64_t WaveIn::TotalFrames() const {
    return std::accumulate(FChunks.begin(), FChunks.end(), int64_t{0},
                           [](int64_t sum, const WaveBuffer& c) { return sum + c.FrameCount(); });
}

WaveFile& WaveIn::BuildWave() {
    const int frameSize = FWave.GetFormat().BlockAlign;
    std::vector<uint8_t> block(static_cast<size_t>(TotalFrames()) * frameSize);
    size_t at = 0;
    for (const WaveBuffer& c : FChunks) {
        const size_t bytes = static_cast<size_t>(c.FrameCount()) * c.FrameSize();
        std::memcpy(block.data() + at, c.Data().data(), bytes);
        at += bytes;
    }
    FWave.SetData(std::move(block), static_cast<int>(TotalFrames()), false);
    return FWave;
}

int WaveIn::ProcessNotifications() {
    int handled = 0;
    if (FHandle) FHandle->Collect();
    while (FHandle) {
        WaveHeader* h = FHandle->Done().TryTake();
        if (h == nullptr) break;
        BufferDone(*h);
        ++handled;
    }
    return handled;
}

}  // namespace ov
