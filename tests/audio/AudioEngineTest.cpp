#include "AudioFixtures.h"
#include "VirtualClock.h"
#include "audio/AudioObject.h"
#include "audio/MediaCommand.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

using ov::TAudioEngine;
using ovtest::AudioFixtures;

class AudioEngineTest : public ovtest::VirtualClockTest {
protected:
    // Ticks every 10 ms until the engine finishes; returns the output time it took.
    static int PlayToFinish(ov::TAudioObject& audio, int limitMs = 10000) {
        for (int elapsed = 10; elapsed <= limitMs; elapsed += 10) {
            Advance(10);
            audio.EngineTick();
            if (audio.GetState() == TAudioEngine::kFinished) return elapsed;
        }
        return -1;
    }
};

TEST_F(AudioEngineTest, PositionFollowsOutputTimeAndTheEndIsReported50MsEarly) {
    ov::TAudioObject audio;
    audio.Play(AudioFixtures::Get().toneWav.string());
    ASSERT_EQ(audio.GetState(), TAudioEngine::kPlaying);
    EXPECT_EQ(audio.GetLength(), 3000);
    Advance(1000);
    audio.EngineTick();
    EXPECT_NEAR(audio.GetPosition(), 1000, 6);

    audio.Pause();
    Advance(500);
    EXPECT_EQ(audio.GetState(), TAudioEngine::kPaused);
    EXPECT_NEAR(audio.GetPosition(), 1000, 6);
    audio.Resume();

    int lastPosition = 0;
    for (int tick = 0; tick < 300 && audio.GetState() == TAudioEngine::kPlaying; ++tick) {
        lastPosition = audio.GetPosition();
        Advance(10);
        audio.EngineTick();
    }
    EXPECT_EQ(audio.GetState(), TAudioEngine::kFinished);
    EXPECT_GE(lastPosition, 2930);
    EXPECT_LT(lastPosition, 2950);
    EXPECT_EQ(audio.GetPosition(), 0);
    ov::WaveBlock block;
    audio.GetWaveData(block);
    EXPECT_THAT(block, testing::Each(0u));
}

TEST_F(AudioEngineTest, SeekMovesThePosition) {
    ov::TAudioObject audio;
    audio.Play(AudioFixtures::Get().toneWav.string());
    audio.SetPosition(2000);
    Advance(100);
    EXPECT_NEAR(audio.GetPosition(), 2100, 6);
    EXPECT_EQ(PlayToFinish(audio), 850);
}

TEST_F(AudioEngineTest, LoopingChannelPlaysOnPastItsEnd) {
    ov::TAudioObject audio;
    audio.SetLoop(true);
    audio.Play(AudioFixtures::Get().toneWav.string());
    auto out = Advance(4000);
    EXPECT_GT(ovtest::Rms(out, 44100 * 39 / 10, 4000), 5000);
    EXPECT_NEAR(audio.GetPosition(), 1000, 10);
    EXPECT_EQ(audio.GetState(), TAudioEngine::kPlaying);
}

TEST_F(AudioEngineTest, EveryFormatPlaysForItsLength) {
    const auto& f = AudioFixtures::Get();
    struct Case {
        std::filesystem::path file;
        int tolerance;
    };
    for (const Case& c : {Case{f.toneWav, 0}, Case{f.lowRateWav, 1}, Case{f.mp3, 30}, Case{f.mp2, 30},
                          Case{f.ogg, 1}, Case{f.module, 5}}) {
        SCOPED_TRACE(c.file.filename().string());
        ov::TAudioObject audio;
        EXPECT_NEAR(audio.GetFileDuration(c.file.string()), 3000, c.tolerance);
        audio.Play(c.file.string());
        ASSERT_EQ(audio.GetState(), TAudioEngine::kPlaying);
        auto out = Advance(1000);
        EXPECT_GT(ovtest::Rms(out, 22050, 22050), 1000);
        int finishedAfter = 1000 + PlayToFinish(audio);
        EXPECT_NEAR(finishedAfter, 2950, c.tolerance + 10);
    }
}

// Without the info header nobody knows the encoder's delay and padding, so
// they play as part of the sound: the length is the speech's or tone's own
// plus up to a frame of padding and the encoder's and decoder's delay.
TEST_F(AudioEngineTest, VbrMp3WithoutInfoHeaderHasItsTrueLengthEverywhere) {
    const auto& f = AudioFixtures::Get();
    ov::TAudioObject probe;
    struct Case {
        std::filesystem::path file;
        int sourceMs;
        int frameMs;
        int delayMs;
    };
    const int speechMs = probe.GetFileDuration(f.speech.string());
    for (const Case& c : {Case{f.vbrMp3, 3000, 26, 25}, Case{f.vbrSpeechMp3, speechMs, 26, 50}}) {
        SCOPED_TRACE(c.file.filename().string());
        int duration = probe.GetFileDuration(c.file.string());
        EXPECT_GE(duration, c.sourceMs);
        EXPECT_LE(duration, c.sourceMs + c.frameMs + c.delayMs);

        ov::MediaCommand media;
        std::string reply;
        ASSERT_EQ(media.Send("open " + ov::ShortPath(c.file.string()) + " type MPEGVideo Alias s", nullptr), 0);
        EXPECT_EQ(media.Send("status s length", &reply), 0);
        EXPECT_EQ(reply, std::to_string(duration));
        media.Send("close s", nullptr);

        ov::TAudioObject audio;
        audio.Play(c.file.string());
        EXPECT_EQ(audio.GetLength(), duration);
        EXPECT_NEAR(PlayToFinish(audio), duration - 50, 10);
    }
}

TEST_F(AudioEngineTest, VbrMp3WithoutInfoHeaderSoundsToItsEnd) {
    ov::TAudioObject audio;
    audio.Play(AudioFixtures::Get().vbrMp3.string());
    auto out = Advance(2900);
    EXPECT_GT(ovtest::Rms(out, 44100 * 27 / 10, 4410), 5000);
    audio.EngineTick();
    EXPECT_EQ(audio.GetState(), TAudioEngine::kPlaying);
}

TEST_F(AudioEngineTest, TempoShortensPlayingTimeAndKeepsThePitch) {
    const auto& f = AudioFixtures::Get();
    ov::TAudioObject fast;
    fast.SetTempo(1200);
    fast.Play(f.toneWav.string());
    int finishedAfter = PlayToFinish(fast);
    EXPECT_NEAR(finishedAfter, 2950 * 1000 / 1200, 30);

    for (int tempo : {700, 1300}) {
        SCOPED_TRACE(tempo);
        ov::TAudioObject audio;
        audio.SetTempo(tempo);
        audio.Play(f.lowRateWav.string());
        auto out = Advance(1000);
        EXPECT_NEAR(ovtest::ZeroCrossingHz(out, 11025, 22050), 440, 5);
    }
}

TEST_F(AudioEngineTest, EqualiserBandBoostsItsCentreByItsGain) {
    const auto& f = AudioFixtures::Get();
    auto levelWith = [&](float gainDb) {
        ov::TAudioObject audio;
        audio.SetBandGain(4, gainDb);  // 1000 Hz
        audio.Play(f.toneWav.string());
        auto out = Advance(500);
        return ovtest::Rms(out, 11025, 11025);
    };
    double flat = levelWith(0);
    EXPECT_NEAR(20 * std::log10(levelWith(6) / flat), 6.0, 0.3);
    EXPECT_NEAR(20 * std::log10(levelWith(-12) / flat), -12.0, 0.5);
}

TEST_F(AudioEngineTest, OutputAndGlobalVolumesMultiply) {
    auto levelWith = [&](int output, int global) {
        ov::TAudioObject audio;
        audio.SetVolume(output);
        audio.SetGlobalVolumes(global);
        audio.Play(AudioFixtures::Get().toneWav.string());
        auto out = Advance(500);
        return ovtest::Rms(out, 11025, 11025);
    };
    const double full = levelWith(100, 100);
    EXPECT_NEAR(levelWith(50, 100) / full, 0.5, 0.01);
    EXPECT_NEAR(levelWith(100, 50) / full, 0.5, 0.01);
    EXPECT_NEAR(levelWith(50, 50) / full, 0.25, 0.01) << "the later call does not replace the earlier";
    EXPECT_EQ(levelWith(0, 100), 0);
    levelWith(100, 100);
}

TEST_F(AudioEngineTest, WaveDataIsTheLastBlockHandedOut) {
    ov::TAudioObject audio;
    audio.Play(AudioFixtures::Get().speech.string());
    auto out = Advance(400);
    ov::WaveBlock block;
    audio.GetWaveData(block);
    ASSERT_TRUE(std::any_of(block.begin(), block.begin() + 512, [](std::uint32_t w) { return w != 0; }));
    std::size_t frames = out.size() / 2;
    for (std::size_t i = 0; i < 512; ++i) {
        std::size_t frame = frames - 512 + i;
        auto left = static_cast<std::uint16_t>(out[2 * frame]);
        auto right = static_cast<std::uint16_t>(out[2 * frame + 1]);
        ASSERT_EQ(block[i], static_cast<std::uint32_t>(right) << 16 | left) << "frame " << i;
    }
    EXPECT_THAT(std::vector<std::uint32_t>(block.begin() + 512, block.end()), testing::Each(0u));

}

TEST_F(AudioEngineTest, SpectrumPeaksAtTheToneFrequency) {
    ov::TAudioObject audio;
    audio.Play(AudioFixtures::Get().toneWav.string());
    Advance(300);
    ov::SpectrumBlock spectrum;
    audio.GetFFTData(spectrum);
    std::array<float, 512> magnitudes;
    std::memcpy(magnitudes.data(), spectrum.data(), sizeof magnitudes);
    auto peak = std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin();
    EXPECT_EQ(peak, 23);  // 1000 Hz in bins of 44100 / 1024 Hz
    EXPECT_NEAR(magnitudes[peak], 0.25, 0.05);  // half-scale sine through a Hann window
    EXPECT_EQ(spectrum[512], 0u);
}

TEST_F(AudioEngineTest, UnsupportedOrMissingFilesPlayNothing) {
    ovtest::TempDir dir;
    auto wma = dir / "tone.wma";
    std::filesystem::copy_file(AudioFixtures::Get().toneWav, wma);
    ov::TAudioObject audio;
    audio.Play(wma.string());
    EXPECT_EQ(audio.GetState(), TAudioEngine::kStopped);
    audio.Play((dir / "missing.mp3").string());
    EXPECT_EQ(audio.GetState(), TAudioEngine::kStopped);
    EXPECT_EQ(audio.GetFileDuration((dir / "missing.mp3").string()), -1);
    EXPECT_TRUE(audio.IsSupportedFile("dir.wav/Sound.MP3"));
    EXPECT_FALSE(audio.IsSupportedFile("dir.wav/sound"));
}

TEST_F(AudioEngineTest, ATruncatedFileFinishesWhereItsDataEnds) {
    // The MP3's info header promises three seconds; the data holds about 1.2,
    // and the length counts the data.
    ovtest::TempDir dir;
    auto cut = dir / "cut.mp3";
    ovtest::WriteFile(cut, ovtest::ReadFile(AudioFixtures::Get().mp3).substr(0, 20000));
    ov::TAudioObject audio;
    audio.Play(cut.string());
    EXPECT_NEAR(audio.GetLength(), 1200, 30);
    EXPECT_NEAR(PlayToFinish(audio), audio.GetFileDuration(cut.string()) - 50, 10);
}

TEST_F(AudioEngineTest, AFileThatVanishesStopsTheChannel) {
    ovtest::TempDir dir;
    auto file = dir / "gone.wav";
    std::filesystem::copy_file(AudioFixtures::Get().toneWav, file);
    ov::TAudioObject audio;
    audio.Play(file.string());
    Advance(200);
    std::filesystem::remove(file);
    audio.EngineTick();
    EXPECT_EQ(audio.GetState(), TAudioEngine::kStopped);
    auto out = Advance(200);
    EXPECT_LT(ovtest::Rms(out, 4410, 4410), 1) << "buffered data must not keep playing unseen";
}

class UrlRecorder : public ov::TAudioObject {
public:
    bool PlayURL(const std::string& name) override {
        urls.push_back(name);
        return false;
    }
    std::vector<std::string> urls;
};

TEST_F(AudioEngineTest, NetworkNamesInAnyCaseGoToTheStreamPath) {
    UrlRecorder audio;
    for (const char* name : {"HTTP://host/a.mp3", "Http://host/b.wav", "ftp://host/c.ogg", "fTp://host/d.mp3"}) {
        audio.Play(name);
    }
    audio.Play("file://host/e.mp3");
    EXPECT_THAT(audio.urls, testing::ElementsAre("HTTP://host/a.mp3", "Http://host/b.wav", "ftp://host/c.ogg",
                                                 "fTp://host/d.mp3"));
}

TEST_F(AudioEngineTest, ANewEngineLeavesTheOtherPlaying) {
    auto first = std::make_unique<ov::TAudioObject>();
    first->Play(AudioFixtures::Get().toneWav.string());
    Advance(500);
    {
        ov::TAudioObject second;
        second.Play(AudioFixtures::Get().speech.string());
        Advance(500);
    }
    Advance(500);
    first->EngineTick();
    EXPECT_EQ(first->GetState(), TAudioEngine::kPlaying);
    EXPECT_NEAR(first->GetPosition(), 1500, 6);
}

TEST_F(AudioEngineTest, DurationIsRememberedUntilTheFileChanges) {
    ovtest::TempDir dir;
    auto file = dir / "s.wav";
    std::filesystem::copy_file(AudioFixtures::Get().toneWav, file);
    ov::TAudioObject audio;
    EXPECT_EQ(audio.GetFileDuration(file.string()), 3000);
    std::filesystem::remove(file);
    ASSERT_TRUE(ovtest::RunCommand("sox -n -r 44100 -c 2 '" + file.string() + "' synth 1.5 sine 500"));
    EXPECT_EQ(audio.GetFileDuration(file.string()), 1500);
}

}  // namespace
