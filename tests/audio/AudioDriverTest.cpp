#include "AudioFixtures.h"
#include "audio/AudioDriver.h"
#include "audio/AudioObject.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

TEST(AudioDriver, OpensAnOutputDeviceOnTheChosenDriver) {
    ASSERT_TRUE(ov::InitAudioDriver());
    EXPECT_EQ(ov::AudioDriverName(), "dummy");
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    SDL_AudioSpec have{};
    SDL_AudioDeviceID id = ov::OpenAudioDevice(false, want, have, 0);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(have.freq, 44100);
    SDL_CloseAudioDevice(id);
}

TEST(AudioDriver, EnginePlaysInRealTimeOnTheDevice) {
    auto& library = ov::SoundLibrary::Instance();
    ASSERT_TRUE(library.UseDevice());
    {
        ov::TAudioObject audio;
        audio.Play(ovtest::AudioFixtures::Get().toneWav.string());
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        audio.EngineTick();
        EXPECT_EQ(audio.GetState(), ov::TAudioEngine::kPlaying);
        EXPECT_GT(audio.GetPosition(), 250);
        EXPECT_LT(audio.GetPosition(), 700);
        ov::WaveBlock block;
        audio.GetWaveData(block);
        EXPECT_TRUE(std::any_of(block.begin(), block.begin() + 512, [](std::uint32_t w) { return w != 0; }));
    }
    library.UseVirtualClock();
}
