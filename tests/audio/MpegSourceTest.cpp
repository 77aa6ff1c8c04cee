#include "AudioFixtures.h"
#include "audio/SoundSource.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

using ovtest::AudioFixtures;
using ovtest::ReadToEnd;

TEST(MpegSource, LengthIsWhatTheDecoderYields) {
    const auto& f = AudioFixtures::Get();
    // The 22050 Hz files go through the rate converter, which must give out its tail too.
    for (const auto& file : {f.mp3, f.mp2, f.vbrMp3, f.vbrSpeechMp3, f.lowRateWav}) {
        SCOPED_TRACE(file.filename().string());
        auto source = ov::OpenSoundFile(file.string());
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(static_cast<std::int64_t>(ReadToEnd(*source).size() / 2), source->LengthFrames());
    }
}

TEST(MpegSource, SeekLandsOnTheSample) {
    const auto& f = AudioFixtures::Get();
    for (const auto& file : {f.mp3, f.mp2, f.vbrMp3}) {
        SCOPED_TRACE(file.filename().string());
        auto source = ov::OpenSoundFile(file.string());
        ASSERT_NE(source, nullptr);
        const std::vector<float> whole = ReadToEnd(*source);
        const auto length = static_cast<std::int64_t>(whole.size() / 2);
        for (std::int64_t target : {std::int64_t{1}, std::int64_t{1151}, std::int64_t{1152}, std::int64_t{50001},
                                    length - 100, length}) {
            SCOPED_TRACE(target);
            ASSERT_TRUE(source->Seek(target));
            std::vector<float> got = ReadToEnd(*source);
            ASSERT_EQ(got.size(), whole.size() - static_cast<std::size_t>(2 * target));
            for (std::size_t i = 0; i < std::min<std::size_t>(got.size(), 2 * 2048); ++i) {
                ASSERT_NEAR(got[i], whole[static_cast<std::size_t>(2 * target) + i], 1e-5) << "sample " << i;
            }
        }
    }
}

TEST(MpegSource, IsKnownByContent) {
    const auto& f = AudioFixtures::Get();
    ovtest::TempDir dir;
    auto named = dir / "speech.wav";
    std::filesystem::copy_file(f.vbrMp3, named);
    // Junk before the first frame, as some editors leave it.
    auto junk = dir / "junk.mp3";
    ovtest::WriteFile(junk, std::string(3000, 'x') + ovtest::ReadFile(f.vbrMp3));
    auto length = [](const std::filesystem::path& file) {
        auto source = ov::OpenSoundFile(file.string());
        return source != nullptr ? source->LengthFrames() : -1;
    };
    const std::int64_t expected = length(f.vbrMp3);
    EXPECT_GT(expected, 44100 * 3);
    EXPECT_EQ(length(named), expected);
    EXPECT_EQ(length(junk), expected);
}

}  // namespace
