#include "present/UntSoundAudioRecord.h"

namespace ov {

TChRecord::TChRecord(std::filesystem::path programFolder, std::shared_ptr<WaveInputDriver> driver, QWidget* parent)
    : TChSound(std::move(programFolder), parent), FRecorder(std::move(driver)) {}

void TChRecord::StartRecord() {
    FRecorder.StartRecord();
    Wake();
}

bool TChRecord::Busy() { return TChSound::Busy() || FRecorder.IsRecording(); }

void TChRecord::TickWork() {
    if (FRecorder.IsRecording()) FRecorder.ProcessNotifications();
}

}  // namespace ov
