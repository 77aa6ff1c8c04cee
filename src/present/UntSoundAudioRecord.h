#pragma once

#include "audio/UntSoundAudioRecorder.h"
#include "present/UntSoundAudioSound.h"

#include <memory>

namespace ov {

// The sound control that records the pupil and plays the recording back.
// Filled capture buffers are taken in on its tick, which keeps running while
// a recording is open.
class TChRecord : public TChSound {
    Q_OBJECT

public:
    TChRecord(std::filesystem::path programFolder, std::shared_ptr<WaveInputDriver> driver = SdlWaveInputDriver(),
              QWidget* parent = nullptr);

    // `path` ends with a separator.
    void SetRecordFolder(const std::string& path) { FRecorder.SetRecordFolder(path); }
    void StartRecord();
    // Closes the device; writes the recording when `save` is set.
    void StopRecord(bool save) { FRecorder.StopRecord(save); }
    const std::string& LastFileName() const { return FRecorder.LastFileName(); }
    bool IsRecording() const { return FRecorder.IsRecording(); }
    TVoiceRecorder& Recorder() { return FRecorder; }

protected:
    bool Busy() override;
    void TickWork() override;

private:
    TVoiceRecorder FRecorder;
};

}  // namespace ov
