#include "present/RecordDisplay.h"

namespace ov {

RecordDisplay::RecordDisplay(std::filesystem::path programFolder, std::shared_ptr<WaveInputDriver> driver, QWidget* parent)
    : SoundDisplay(std::move(programFolder), parent), FRecorder(std::move(driver)) {}

void RecordDisplay::StartRecord() {
    FRecorder.StartRecord();
    Wake();
}

bool RecordDisplay::Busy() { return SoundDisplay::Busy() || FRecorder.IsRecording(); }

void RecordDisplay::TickWork() {
    if (FRecorder.IsRecording()) FRecorder.ProcessNotifications();
}

}  // namespace ov
