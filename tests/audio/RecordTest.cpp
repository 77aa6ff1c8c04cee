#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>

#include "audio/VoiceRecorder.h"
#include "audio/WaveInput.h"
#include "core/MessageHook.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// A capture device the test fills by hand, buffer by buffer.
class FakeWaveInput final : public ov::WaveInput {
public:
    int Prepare(ov::WaveHeader& h) override {
        h.flags |= ov::kWaveHeaderPrepared;
        return ov::kWaveNoError;
    }
    int AddBuffer(ov::WaveHeader& h) override {
        h.bytesRecorded = 0;
        h.flags |= ov::kWaveHeaderQueued;
        queued.push_back(&h);
        return ov::kWaveNoError;
    }
    int Start() override { return ov::kWaveNoError; }
    int Reset() override {
        while (!queued.empty()) HandBack(0);
        return ov::kWaveNoError;
    }
    int Unprepare(ov::WaveHeader&) override { return unprepareResult; }
    int Close() override { return ov::kWaveNoError; }

    // The oldest queued buffer comes back holding `bytes` bytes of `value`.
    void Fill(uint32_t bytes, uint8_t value = 7) {
        std::memset(queued.front()->data.get(), value, bytes);
        HandBack(bytes);
    }

    std::deque<ov::WaveHeader*> queued;
    int unprepareResult = ov::kWaveNoError;

private:
    void HandBack(uint32_t bytes) {
        ov::WaveHeader* h = queued.front();
        queued.pop_front();
        h->bytesRecorded = bytes;
        h->flags = (h->flags & ~ov::kWaveHeaderQueued) | ov::kWaveHeaderDone;
        Done().Push(h);
    }
};

class FakeWaveInputDriver final : public ov::WaveInputDriver {
public:
    int Query(int, const ov::WaveFormat&) override { return queryResult; }
    std::unique_ptr<ov::WaveInput> Open(int, const ov::WaveFormat&, int& result) override {
        result = ov::kWaveNoError;
        auto input = std::make_unique<FakeWaveInput>();
        last = input.get();
        return input;
    }

    int queryResult = ov::kWaveNoError;
    FakeWaveInput* last = nullptr;
};

class Recorder : public testing::Test {
protected:
    Recorder() : driver(std::make_shared<FakeWaveInputDriver>()), recorder(driver) {
        recorder.SetRecordFolder(dir.path().string() + "/");
        recorder.SetClock([] { return std::time_t{1700000000}; });
        ov::TakeRecordedMessages();
    }

    FakeWaveInput& Start() {
        recorder.StartRecord();
        return *driver->last;
    }

    std::string Stamped(const std::string& tail) const {
        std::tm local{};
        const std::time_t t = 1700000000;
        localtime_r(&t, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
        return dir.path().string() + "/" + text + tail;
    }

    ovtest::TempDir dir;
    std::shared_ptr<FakeWaveInputDriver> driver;
    ov::VoiceRecorder recorder;
};

TEST_F(Recorder, KeepsWholeFramesAndRequeuesEmptyBuffers) {
    auto& input = Start();
    ASSERT_EQ(input.queued.size(), 2u);
    for (uint32_t bytes : {4095u, 0u, 3u}) {
        input.Fill(bytes);
        EXPECT_EQ(recorder.ProcessNotifications(), 1);
    }
    EXPECT_EQ(input.queued.size(), 2u) << "every buffer goes back to the device";

    const auto& chunks = recorder.Input().Chunks();
    ASSERT_EQ(chunks.size(), 2u) << "a buffer without sound leaves no chunk";
    EXPECT_EQ(chunks[0].FrameCount(), 1023);
    EXPECT_EQ(chunks[1].FrameCount(), 0);

    recorder.StopRecord(true);
    EXPECT_EQ(recorder.LastFileName(), Stamped(".wav"));
    EXPECT_EQ(fs::file_size(recorder.LastFileName()), 44u + 4092u);
}

TEST_F(Recorder, LimitKeepsTheLastChunkAndDropsWhatFollows) {
    auto& input = Start();
    for (size_t i = 0; i < ov::WaveIn::kMaxChunks; ++i) {
        input.Fill(4);
        recorder.ProcessNotifications();
    }
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
    input.Fill(4);
    input.Fill(4);
    recorder.ProcessNotifications();

    EXPECT_EQ(recorder.Input().Chunks().size(), ov::WaveIn::kMaxChunks);
    EXPECT_TRUE(input.queued.empty()) << "no buffer is queued at the limit";
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, "录时时间超过限制，请停止");
    EXPECT_EQ(messages[0].kind, 0);

    recorder.StopRecord(true);
    EXPECT_EQ(fs::file_size(recorder.LastFileName()), 44u + 4u * ov::WaveIn::kMaxChunks);
}

TEST_F(Recorder, FailedUnprepareDropsTheBuffer) {
    auto& input = Start();
    input.unprepareResult = 5;
    input.Fill(4096);
    recorder.ProcessNotifications();
    EXPECT_EQ(input.queued.size(), 1u);
    EXPECT_TRUE(recorder.Input().Chunks().empty());
    EXPECT_EQ(recorder.Input().LastError(), 5);
}

TEST_F(Recorder, StopWithoutSavingNamesTheFileButWritesNothing) {
    auto& input = Start();
    input.Fill(4096);
    recorder.StopRecord(false);
    EXPECT_EQ(recorder.LastFileName(), Stamped(".wav"));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Recorder, SavesInOneSecondNeverOverwrite) {
    auto& input = Start();
    input.Fill(4096, 1);
    recorder.StopRecord(true);
    const std::string first = ovtest::ReadFile(Stamped(".wav"));

    // The chunks outlive the stop: saving again writes the same sound anew.
    recorder.StopRecord(true);
    EXPECT_EQ(recorder.LastFileName(), Stamped("_1.wav"));
    EXPECT_EQ(ovtest::ReadFile(Stamped("_1.wav")), first);

    recorder.StartRecord();
    driver->last->Fill(8, 2);
    recorder.StopRecord(true);
    EXPECT_EQ(recorder.LastFileName(), Stamped("_2.wav"));
    EXPECT_EQ(ovtest::ReadFile(Stamped(".wav")), first) << "the first recording is untouched";
    EXPECT_EQ(fs::file_size(Stamped("_2.wav")), 44u + 8u);
}

TEST_F(Recorder, AFolderThatWentMeanwhileIsMadeAgainForTheRecording) {
    auto& input = Start();
    input.Fill(4096, 1);
    fs::remove_all(dir.path());
    recorder.StopRecord(true);
    EXPECT_EQ(fs::file_size(Stamped(".wav")), 44u + 4096u);
}

TEST_F(Recorder, NothingCapturedWritesNoFile) {
    Start();
    recorder.StopRecord(true);
    EXPECT_EQ(recorder.LastFileName(), Stamped(".wav"));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Recorder, UnsupportedFormatStaysIdle) {
    driver->queryResult = ov::kWaveBadFormat;
    recorder.StartRecord();
    EXPECT_EQ(driver->last, nullptr);
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

TEST(RecorderFolder, EmptyFolderNamesAFileInTheCurrentFolder) {
    ov::VoiceRecorder recorder(std::make_shared<FakeWaveInputDriver>());
    recorder.SetClock([] { return std::time_t{1700000000}; });
    recorder.StopRecord(false);
    EXPECT_EQ(recorder.LastFileName().find('/'), std::string::npos);
    EXPECT_EQ(recorder.LastFileName().size(), 14u + 4u);
}

}  // namespace
