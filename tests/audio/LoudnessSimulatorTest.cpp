#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "audio/RecordingSimulator.h"
#include "audio/WaveFile.h"
#include "support/TestFiles.h"

namespace {

// One second at half of full scale on both channels: e = 15, a sample of 198.
std::string WriteSteadyTone(const ovtest::TempDir& dir) {
    ov::WaveFile wave;
    wave.SetFormat(2, 44100, 16);
    std::vector<uint8_t> frames;
    for (int i = 0; i < 44100 * 2; ++i) {
        frames.push_back(0x00);
        frames.push_back(0x40);
    }
    wave.SetData(std::move(frames), 44100, false);
    const std::string path = (dir / "tone.wav").string();
    wave.SaveToFile(path);
    wave.CloseStream();
    return path;
}

TEST(LoudnessSimulator, SamplesEveryTickUntilTheSoundEnds) {
    ovtest::TempDir dir;
    const auto samples = ov::SimulateSoundSamples(WriteSteadyTone(dir));
    ASSERT_TRUE(samples.has_value());
    ASSERT_EQ(samples->size() % 11, 0u) << "eleven bytes a tick";
    const size_t ticks = samples->size() / 11;
    // The engine ends a file 50 ms before its length.
    EXPECT_NEAR(static_cast<double>(ticks), 96, 2);
    EXPECT_GE(std::count(samples->begin(), samples->end(), 198), 90 * 11);
    EXPECT_TRUE(std::all_of(samples->end() - 11, samples->end(), [](uint8_t s) { return s == 132; }))
        << "the tick that finds the sound ended samples silence";
}

TEST(LoudnessSimulator, UnreadableFileGivesNothing) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "broken.wav", "RIFF");
    EXPECT_FALSE(ov::SimulateSoundSamples((dir / "missing.wav").string()).has_value());
    EXPECT_FALSE(ov::SimulateSoundSamples((dir / "broken.wav").string()).has_value());
}

}  // namespace
