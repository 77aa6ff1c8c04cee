#include "audio/VoiceRecorder.h"

#include <filesystem>

namespace ov {
namespace {

constexpr int kChannels = 2;
constexpr int kSamplesPerSec = 16000;
constexpr int kBitsPerSample = 16;

std::string TimeStamp(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

bool Taken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

VoiceRecorder::VoiceRecorder(std::shared_ptr<WaveInputDriver> driver)
    : FDevice(std::move(driver)), FClock([] { return std::time(nullptr); }) {}

void VoiceRecorder::StartRecord() {
    FFormatWave.SetFormat(kChannels, kSamplesPerSec, kBitsPerSample);
    if (!FDevice.SupportsFormat(FFormatWave)) return;
    FInput.SetFormat(FFormatWave.GetFormat());
    FInput.SetDevice(&FDevice);
    if (!FInput.Open()) return;
    FInput.Start(kBufferSize);
}

// Two saves within one second would otherwise share a name and the second
// would destroy the first. The suffix sorts after the plain name, so pruning
// by name still keeps the newest.
std::string VoiceRecorder::FreeFileName() const {
    const std::string stem = FRecordFolder + TimeStamp(FClock());
    std::string name = stem + ".wav";
    for (int n = 1; Taken(name); ++n) name = stem + "_" + std::to_string(n) + ".wav";
    return name;
}

void VoiceRecorder::StopRecord(bool save) {
    FInput.Close();
    FLastFileName = FreeFileName();
    if (!save) return;
    // The folder may have gone while the pupil read; the reading is theirs.
    std::error_code ec;
    if (!FRecordFolder.empty()) std::filesystem::create_directories(FRecordFolder, ec);
    WaveFile& wave = FInput.BuildWave();
    wave.SaveToFile(FLastFileName);
    wave.CloseStream();
}

}  // namespace ov
