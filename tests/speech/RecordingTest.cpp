#include <gtest/gtest.h>

#include "SpokenRecordings.h"
#include "support/TestFiles.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechLoudness.h"

#include <algorithm>
#include <filesystem>

namespace ov {
namespace {

using ovtest::Sox;

TEST(Recording, AnyRateAndChannelsBecome16kMono) {
    ovtest::TempDir dir;
    const struct {
        const char* format;
        size_t samples;
    } cases[] = {
        {"-r 44100 -c 2", 16000},
        {"-r 8000 -c 1", 16000},
        {"-r 48000 -c 6", 16000},
        {"-r 22050 -c 1 -b 8", 16000},
    };
    for (const auto& c : cases) {
        const auto file = dir / "tone.wav";
        ASSERT_TRUE(Sox("-n " + std::string(c.format) + " " + file.string() + " synth 1 sine 440 vol 0.5"));
        const std::vector<int16_t> pcm = ReadRecording(file.string());
        EXPECT_NEAR(static_cast<double>(pcm.size()), static_cast<double>(c.samples), 40) << c.format;
        EXPECT_GT(*std::max_element(pcm.begin(), pcm.end()), 8000) << c.format;
    }
}

TEST(Recording, WhatIsNotAReadingIsRefused) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "empty.wav", "");
    ovtest::WriteFile(dir / "text.wav", "Good morning, this is not sound at all.\n");
    ASSERT_TRUE(Sox("-n -r 8000 -c 1 " + (dir / "long.wav").string() + " trim 0 61"));
    for (const char* name : {"missing.wav", "empty.wav", "text.wav", "long.wav"})
        EXPECT_THROW(ReadRecording((dir / name).string()), ERecordingError) << name;

    // A recording cut off in the middle is judged on what there is.
    const auto cut = dir / "cut.wav";
    ASSERT_TRUE(Sox("-n -r 16000 -c 1 -b 16 " + cut.string() + " synth 2 sine 300"));
    std::filesystem::resize_file(cut, 44 + 16000);
    EXPECT_NEAR(static_cast<double>(ReadRecording(cut.string()).size()), 8000, 40);
    // A file with a header and no sound is a silent reading.
    ASSERT_TRUE(Sox("-n -r 16000 -c 1 " + (dir / "none.wav").string() + " trim 0 0"));
    EXPECT_TRUE(ReadRecording((dir / "none.wav").string()).empty());
}

TEST(Recording, SlowerWarpsLengthenTheRecording) {
    const std::vector<int16_t> second(kSpeechRate, 1000);
    EXPECT_EQ(SpeedWarped(second, 1.0).size(), second.size());
    EXPECT_NEAR(static_cast<double>(SpeedWarped(second, 0.8).size()), kSpeechRate / 0.8, 20);
    EXPECT_TRUE(SpeedWarped({}, 0.8).empty());
}

}  // namespace
}  // namespace ov
