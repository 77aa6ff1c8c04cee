#include "AudioFixtures.h"
#include "audio/SoundSource.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using ovtest::AudioFixtures;

TEST(SampleRate, AHeaderClaimingOneHertzIsNotPlayed) {
    EXPECT_EQ(ov::OpenSoundFile(AudioFixtures::Get().oneHertzWav.string()), nullptr);
}

// Rates at and beyond the edges of what sound uses; a playable one must come
// out whole at the output rate, its converter's tail included.
TEST(SampleRate, OnlyRatesSoundUsesArePlayed) {
    struct Case {
        int rate;
        bool playable;
    };
    const Case cases[] = {{999, false}, {1000, true}, {8000, true}, {96000, true}, {384000, true}, {384001, false}};
    ovtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        const auto file = dir / (std::to_string(c.rate) + ".wav");
        const int frames = c.rate / 4;
        ovtest::WriteFile(file, ovtest::WaveAtRate(c.rate, frames));
        auto source = ov::OpenSoundFile(file.string());
        ASSERT_EQ(source != nullptr, c.playable);
        if (!source) continue;
        EXPECT_EQ(source->LengthFrames(), std::int64_t{frames} * ov::kOutputRate / c.rate);
        EXPECT_EQ(static_cast<std::int64_t>(ovtest::ReadToEnd(*source).size() / 2), source->LengthFrames());
    }
}

}  // namespace
