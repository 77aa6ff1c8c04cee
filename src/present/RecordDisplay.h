#pragma once

#include "audio/VoiceRecorder.h"
#include "present/SoundDisplay.h"

#include <memory>

namespace ov {

// The sound control that records the pupil and plays the recording back.
// Filled capture buffers are taken in on its tick, which keeps running while
// a recording is open.
class RecordDisplay : public SoundDisplay {
    Q_OBJECT

public:
    RecordDisplay(std::filesystem::path programFolder, std::shared_ptr<WaveInputDriver> driver = SdlWaveInputDriver(),
              QWidget* parent = nullptr);

    // `path` ends with a separator.
    void SetRecordFolder(const std::string& path) { FRecorder.SetRecordFolder(path); }
    void StartRecord();
    // Closes the device; writes the recording when `save` is set.
    void StopRecord(bool save) { FRecorder.StopRecord(save); }
    const std::string& LastFileName() const { return FRecorder.LastFileName(); }
    bool IsRecording() const { return FRecorder.IsRecording(); }
    VoiceRecorder& Recorder() { return FRecorder; }

protected:
    bool Busy() override;
    void TickWork() override;

private:
    VoiceRecorder FRecorder;
};

}  // namespace ov
