// Built with ThreadSanitizer: the capture callback and the owner's thread may
// share nothing but the ring between them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/PumpRecorder.h"
#include "audio/AudioDevices.h"
#include "audio/VoiceRecorder.h"
#include "CountingSound.h"
#include "support/TestFiles.h"

namespace {

using namespace std::chrono_literals;

TEST(CaptureThreads, OwnerStalledForTwoSecondsLosesNoFrame) {
    ovtest::TempDir dir;
    const std::string raw = ovtest::CountingSound();
    ovtest::WriteFile(dir / "mic.raw", raw);
    setenv("SDL_DISKAUDIOFILEIN", (dir / "mic.raw").c_str(), 1);
    setenv("SDL_DISKAUDIOFILE", (dir / "speakers.raw").c_str(), 1);
    setenv("OV_AUDIO_DRIVER", "disk", 1);
    ASSERT_TRUE(ov::AudioDevices::Instance().Init());
    ASSERT_EQ(ov::AudioDevices::Instance().DriverName(), "disk");

    ov::VoiceRecorder recorder;
    recorder.SetRecordFolder(dir.path().string() + "/");
    recorder.StartRecord();
    ASSERT_TRUE(recorder.IsRecording());
    // Pumped for a while, then the owner is busy elsewhere while the device
    // keeps capturing at its own pace.
    for (auto end = std::chrono::steady_clock::now() + 300ms; std::chrono::steady_clock::now() < end;) {
        ovtest::PumpRecorder(recorder, 20ms);
    }
    std::this_thread::sleep_for(2s);
    for (auto end = std::chrono::steady_clock::now() + 300ms; std::chrono::steady_clock::now() < end;) {
        ovtest::PumpRecorder(recorder, 20ms);
    }
    recorder.StopRecord(true);

    const std::string wav = ovtest::ReadFile(recorder.LastFileName());
    // 2.6 s at 64000 bytes a second, less what the device had not delivered yet.
    ASSERT_GT(wav.size(), 44u + 2 * raw.size());
    EXPECT_TRUE(wav.compare(44, raw.size(), raw) == 0) << "the sound arrives byte for byte";
    EXPECT_EQ(wav.find_first_not_of('\0', 44 + raw.size()), std::string::npos) << "silence after the file";
}

}  // namespace
