#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "audio/WaveFile.h"
#include "audio/WaveIn.h"
#include "audio/WaveInput.h"

namespace ov {

// The recording side of the record control: one recording at a time, saved as
// a time-stamped WAV file in the record folder. Not thread-safe; the control
// calls ProcessNotifications from its event loop while recording.
class VoiceRecorder {
public:
    static constexpr int kBufferSize = 4096;  // 64 ms of sound

    explicit VoiceRecorder(std::shared_ptr<WaveInputDriver> driver = SdlWaveInputDriver());

    // `path` ends with a separator; empty means the current folder.
    void SetRecordFolder(const std::string& path) { FRecordFolder = path; }
    const std::string& RecordFolder() const { return FRecordFolder; }

    // Silent when the device cannot record; the control then stays idle.
    void StartRecord();
    // Closes the device and names the recording; writes it when `save` is set
    // and sound was captured. Never replaces an earlier recording.
    void StopRecord(bool save);
    const std::string& LastFileName() const { return FLastFileName; }

    int ProcessNotifications() { return FInput.ProcessNotifications(); }
    bool IsRecording() const { return FInput.IsOpen(); }
    const WaveIn& Input() const { return FInput; }

    // Where the time of a file name comes from; the local clock by default.
    void SetClock(std::function<std::time_t()> clock) { FClock = std::move(clock); }

private:
    std::string FreeFileName() const;

    WaveDevice FDevice;
    WaveFile FFormatWave;
    WaveIn FInput;
    std::string FRecordFolder;
    std::string FLastFileName;
    std::function<std::time_t()> FClock;
};

}  // namespace ov
