#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AudioFixtures.h"
#include "PulseServer.h"
#include "audio/AudioDevices.h"
#include "audio/AudioObject.h"
#include "audio/SoundLibrary.h"
#include "audio/VoiceRecorder.h"
#include "core/Log.h"
#include "core/MessageHook.h"
#include "support/TestFiles.h"

namespace {

using namespace std::chrono_literals;

// Ticks the engine as its control would until the sound finished or `limit` passed.
bool PlaysToTheEnd(ov::TAudioObject& audio, std::chrono::seconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        audio.EngineTick();
        if (audio.GetState() == ov::TAudioEngine::kFinished) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Keeps the library's log lines for the test to read.
class LogCapture {
public:
    LogCapture() {
        previous_ = ov::SetLogSink([this](ov::LogLevel, std::string_view, std::string_view text) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(text);
        });
    }
    ~LogCapture() { ov::SetLogSink(previous_); }

    bool Has(const std::string& part) {
        std::lock_guard lock(mutex_);
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }

private:
    ov::LogSink previous_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

// A machine without a microphone: SDL's disk driver with no input file,
// playing into a file a few times faster than real time.
class NoMicrophone : public testing::Test {
protected:
    NoMicrophone() {
        setenv("SDL_DISKAUDIOFILE", (dir / "speakers.raw").c_str(), 1);
        setenv("SDL_DISKAUDIOFILEIN", (dir / "no-such-microphone.raw").c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1);
        ov::TakeRecordedMessages();
    }

    ovtest::TempDir dir;
    ovtest::DriverSwitch driver{"disk"};
};

TEST_F(NoMicrophone, RecordingLeavesTheSoundPlayingAndTellsThePupilOnce) {
    auto& library = ov::SoundLibrary::Instance();
    ASSERT_TRUE(library.UseDevice());
    ov::TAudioObject audio;
    audio.Play(ovtest::AudioFixtures::Get().toneWav.string());
    std::this_thread::sleep_for(100ms);

    ov::VoiceRecorder recorder;
    recorder.SetRecordFolder(dir.path().string() + "/");
    recorder.StartRecord();
    EXPECT_FALSE(recorder.IsRecording());
    recorder.StartRecord();
    EXPECT_FALSE(recorder.IsRecording());
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u) << "once per run, however often the pupil presses";
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, "没有找到可以录音的设备");

    EXPECT_TRUE(PlaysToTheEnd(audio, 10s));
    const ov::SoundHandle channel = library.OpenFile(ovtest::AudioFixtures::Get().toneWav.string());
    ASSERT_NE(channel, 0u);
    int taken = 0;
    for (int i = 0; i < 5000; ++i) taken += library.SetPan(channel, i % 201 - 100) ? 1 : 0;
    EXPECT_EQ(taken, 5000);
    library.Free(channel);
}

// The playback device's server goes away in the middle of a sound.
class LostDevice : public testing::Test {
protected:
    void SetUp() override {
        if (!first->Start()) GTEST_SKIP() << "pulseaudio cannot start here";
        first->KeepBusy("speakers");
        setenv("PULSE_SERVER", first->Address().c_str(), 1);
        driver = std::make_unique<ovtest::DriverSwitch>("pulseaudio");
        ASSERT_TRUE(ov::SoundLibrary::Instance().UseDevice());
        ASSERT_EQ(ov::AudioDevices::Instance().DriverName(), "pulseaudio");
        audio = std::make_unique<ov::TAudioObject>();
        audio->Play(ovtest::AudioFixtures::Get().toneWav.string());
        std::this_thread::sleep_for(300ms);
        audio->EngineTick();
        ASSERT_EQ(audio->GetState(), ov::TAudioEngine::kPlaying);
    }

    void TearDown() override {
        audio.reset();
        driver.reset();
        unsetenv("PULSE_SERVER");
    }

    LogCapture log;
    std::unique_ptr<ovtest::PulseServer> first = std::make_unique<ovtest::PulseServer>();
    std::unique_ptr<ovtest::DriverSwitch> driver;
    std::unique_ptr<ov::TAudioObject> audio;
};

TEST_F(LostDevice, IsOpenedAgainOnTheServerThatCameBack) {
    ovtest::PulseServer second;
    ASSERT_TRUE(second.Start());
    second.KeepBusy("speakers");
    first.reset();
    setenv("PULSE_SERVER", second.Address().c_str(), 1);

    EXPECT_TRUE(PlaysToTheEnd(*audio, 10s));
    EXPECT_TRUE(log.Has("lost the device on pulseaudio"));
    EXPECT_EQ(ov::AudioDevices::Instance().DriverName(), "pulseaudio");
    audio.reset();
    driver.reset();
}

TEST_F(LostDevice, FallsBackToTheSilentDriverWhenNoServerIsLeft) {
    first.reset();
    EXPECT_TRUE(PlaysToTheEnd(*audio, 10s));
    EXPECT_TRUE(log.Has("lost the device on pulseaudio"));
    EXPECT_TRUE(log.Has("falling back to the null audio driver"));
    EXPECT_EQ(ov::AudioDevices::Instance().DriverName(), "dummy");
}

}  // namespace
