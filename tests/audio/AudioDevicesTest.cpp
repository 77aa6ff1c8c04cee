#include "AudioFixtures.h"
#include "audio/AudioDevices.h"
#include "audio/AudioObject.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

TEST(AudioDevices, OpensAnOutputDeviceOnTheChosenDriver) {
    auto& devices = ov::AudioDevices::Instance();
    ASSERT_TRUE(devices.Init());
    EXPECT_EQ(devices.DriverName(), "dummy");
    ov::AudioDeviceRequest request;
    request.rate = 44100;
    request.channels = 2;
    request.callback = [](void*, std::uint8_t* stream, int length) { std::fill(stream, stream + length, 0); };
    ov::AudioDeviceId id = devices.Open(request);
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(devices.Shutdown()) << "a device is open";
    EXPECT_FALSE(devices.Lost(id));
    devices.Close(id);
}

TEST(AudioDevices, EnginePlaysInRealTimeOnTheDevice) {
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
