#include "AudioFixtures.h"
#include "VirtualClock.h"
#include "audio/AliasSound.h"

#include <gtest/gtest.h>

namespace {

using ovtest::AudioFixtures;

class AliasSoundTest : public ovtest::VirtualClockTest {
protected:
    ov::MediaLine line;
    ov::AliasSound sound{line, "ZOzadaZI"};
};

// The three-second tone at 120 %: the file's own milliseconds go by 1.2 times
// as fast as the clock, and the sound is over after 2.5 s.
TEST_F(AliasSoundTest, PlaysAtASpeedAndSaysWhereItIsAndWhenItEnds) {
    ASSERT_TRUE(sound.Play(AudioFixtures::Get().toneWav.string(), 120));
    EXPECT_EQ(line.LastCommand(), "play ZOzadaZI");
    EXPECT_EQ(sound.LengthMs(), 3000);
    EXPECT_FALSE(sound.Finished());
    Advance(1000);
    EXPECT_NEAR(sound.PositionMs(), 1200, 60);
    Advance(1700);
    EXPECT_TRUE(sound.Finished());
    sound.Stop();
    EXPECT_EQ(line.LastCommand(), "Close ZOzadaZI");
    EXPECT_EQ(line.LastError(), 0);
    EXPECT_TRUE(sound.Finished());
    EXPECT_EQ(sound.PositionMs(), 0);
    EXPECT_EQ(sound.LengthMs(), 0);
}

TEST_F(AliasSoundTest, AFileThatDoesNotOpenPlaysNothing) {
    EXPECT_FALSE(sound.Play((AudioFixtures::Get().folder / "missing.wav").string(), 100));
    EXPECT_EQ(line.LastError(), ov::MediaCommand::kFileNotFound);
    EXPECT_FALSE(line.LastErrorText().empty());
    EXPECT_TRUE(sound.Finished());
}

}  // namespace
