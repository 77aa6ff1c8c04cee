#include "AudioFixtures.h"
#include "PulseServer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using ovtest::AudioFixtures;
using ovtest::RunCommand;

TEST(PulsePlayback, SoundReallyComesOutOfTheServer) {
    ovtest::PulseServer pulse;
    if (!pulse.Start()) GTEST_SKIP() << "pulseaudio could not start here";
    const auto& folder = pulse.Folder();
    auto recording = folder / "speakers.raw";
    std::string record = pulse.ShellEnv() + "parec -d speakers.monitor --raw --format=s16le --rate=44100 --channels=2 '" +
                         recording.string() + "' & echo $! > '" + (folder / "parec.pid").string() + "'";
    ASSERT_TRUE(RunCommand(record));
    ASSERT_TRUE(RunCommand(pulse.ShellEnv() + "OV_AUDIO_DRIVER=pulseaudio '" OV_TOOL_PATH "' play '" +
                           AudioFixtures::Get().toneWav.string() + "' > '" + (folder / "play.log").string() +
                           "' 2>&1"));
    RunCommand("kill $(cat '" + (folder / "parec.pid").string() + "'); sleep 0.2");

    std::string log = ovtest::ReadFile(folder / "play.log");
    EXPECT_NE(log.find("audio driver pulseaudio"), std::string::npos) << log;
    std::string bytes = ovtest::ReadFile(recording);
    std::vector<std::int16_t> frames(bytes.size() / 2);
    std::memcpy(frames.data(), bytes.data(), frames.size() * 2);
    // The tone is half scale: about 11600 RMS for the whole of its nearly three seconds.
    std::size_t loudBlocks = 0;
    for (std::size_t first = 0; first + 4410 <= frames.size() / 2; first += 4410) {
        if (ovtest::Rms(frames, first, 4410) > 10000) ++loudBlocks;
    }
    EXPECT_GE(loudBlocks, 25u) << "tenths of a second of the tone heard on the sink";
}

}  // namespace
