#include "AudioFixtures.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

using ovtest::AudioFixtures;
using ovtest::RunCommand;

// A private PulseAudio server with a null sink, started and stopped by the
// test; clients reach it through PULSE_SERVER only.
class PulseServer {
public:
    PulseServer() {
        std::filesystem::create_directories(dir_ / "runtime");
        std::filesystem::create_directories(dir_ / "home");
        socket_ = (dir_ / "runtime" / "native").string();
        std::ofstream(dir_ / "ci.pa") << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket_
                                      << "\nload-module module-null-sink sink_name=speakers\n"
                                         "set-default-sink speakers\n";
        started_ = RunCommand(Env() + "pulseaudio -D -n -F '" + (dir_ / "ci.pa").string() +
                              "' --exit-idle-time=-1 --disallow-exit --log-target=stderr 2>/dev/null") &&
                   RunCommand("for i in $(seq 50); do " + Client() + "pactl info >/dev/null 2>&1 && exit 0; "
                              "sleep 0.1; done; exit 1");
    }
    ~PulseServer() { RunCommand(Env() + "pulseaudio --kill 2>/dev/null"); }

    bool Started() const { return started_; }
    std::string Env() const {
        return "XDG_RUNTIME_DIR='" + (dir_ / "runtime").string() + "' HOME='" + (dir_ / "home").string() + "' ";
    }
    std::string Client() const { return Env() + "PULSE_SERVER='unix:" + socket_ + "' "; }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

private:
    ovtest::TempDir dir_;
    std::string socket_;
    bool started_ = false;
};

TEST(PulsePlayback, SoundReallyComesOutOfTheServer) {
    PulseServer pulse;
    if (!pulse.Started()) GTEST_SKIP() << "pulseaudio could not start here";
    auto recording = pulse / "speakers.raw";
    std::string record = pulse.Client() + "parec -d speakers.monitor --raw --format=s16le --rate=44100 --channels=2 '" +
                         recording.string() + "' & echo $! > '" + (pulse / "parec.pid").string() + "'";
    ASSERT_TRUE(RunCommand(record));
    ASSERT_TRUE(RunCommand(pulse.Client() + "OV_AUDIO_DRIVER=pulseaudio '" OV_TOOL_PATH "' play '" +
                           AudioFixtures::Get().toneWav.string() + "' > '" + (pulse / "play.log").string() +
                           "' 2>&1"));
    RunCommand("kill $(cat '" + (pulse / "parec.pid").string() + "'); sleep 0.2");

    std::string log = ovtest::ReadFile(pulse / "play.log");
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
