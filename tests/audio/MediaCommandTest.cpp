#include "AudioFixtures.h"
#include "VirtualClock.h"
#include "audio/MediaCommand.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>

namespace {

using ov::MediaCommand;
using ovtest::AudioFixtures;

class MediaCommandTest : public ovtest::VirtualClockTest {
protected:
    int Send(const std::string& command, std::string* reply = nullptr) { return media.Send(command, reply); }
    std::string Open(const std::filesystem::path& file, const std::string& alias) {
        return "open " + ov::ShortPath(file.string()) + " type MPEGVideo Alias " + alias;
    }

    MediaCommand media;
};

TEST_F(MediaCommandTest, LessonSoundAtSpeechSpeed) {
    const auto& f = AudioFixtures::Get();
    ASSERT_EQ(Send(Open(f.toneWav, "ZOzadaZI")), 0);
    EXPECT_EQ(Send("Set ZOzadaZI Speed 1200"), 0);
    EXPECT_EQ(Send("play ZOzadaZI"), 0);
    std::string reply;
    EXPECT_EQ(Send("status ZOzadaZI length", &reply), 0);
    EXPECT_EQ(reply, "3000");
    auto out = Advance(2400);
    EXPECT_GT(ovtest::Rms(out, 44100 * 23 / 10, 2000), 5000);
    out = Advance(200);
    EXPECT_LT(ovtest::Rms(out, 4410, 4410), 10) << "at speed 1200 three seconds last 2.5";
    EXPECT_EQ(Send("Stop ZOzadaZI"), 0);
    EXPECT_EQ(Send("Close ZOzadaZI"), 0);
    EXPECT_EQ(Send("Close ZOzadaZI"), MediaCommand::kUnknownAlias);
}

TEST_F(MediaCommandTest, ReopeningTheSceneSoundOnlyChangesItsVolume) {
    const auto& f = AudioFixtures::Get();
    auto scene = [&](int volume) {
        int open = Send(Open(f.toneWav, "DEdivo"));
        EXPECT_EQ(Send("SetAudio DEdivo volume to " + std::to_string(volume)), 0);
        EXPECT_EQ(Send("play DEdivo repeat"), 0);
        return open;
    };
    EXPECT_EQ(scene(1000), 0);
    double loud = ovtest::Rms(Advance(2500), 44100, 44100);
    EXPECT_EQ(scene(500), MediaCommand::kAliasInUse);
    auto out = Advance(1000);
    double quiet = ovtest::Rms(out, 0, 44100);
    EXPECT_NEAR(quiet / loud, 0.5, 0.01);
    // Still the same sound, looped past its end rather than restarted.
    EXPECT_GT(ovtest::Rms(out, 44100 - 2000, 2000), 1000);
}

TEST_F(MediaCommandTest, FailuresGiveACodeAndAShortText) {
    const auto& f = AudioFixtures::Get();
    ASSERT_EQ(Send(Open(f.toneWav, "ZOzadaZI")), 0);
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "text.mp3", "not a sound");
    struct Case {
        std::string command;
        int code;
    };
    for (const Case& c : {
             Case{"open 错误 type MPEGVideo Alias other", MediaCommand::kFileNotFound},
             Case{Open(dir / "missing.wav", "other"), MediaCommand::kFileNotFound},
             Case{Open(dir / "text.mp3", "other"), MediaCommand::kCannotOpen},
             Case{Open(f.speech, "zozadazi"), MediaCommand::kAliasInUse},
             Case{"open " + f.speech.string() + " type MPEGVideo", MediaCommand::kMissingArgument},
             Case{"play nobody", MediaCommand::kUnknownAlias},
             Case{"play ZOzadaZI twice", MediaCommand::kBadKeyword},
             Case{"Set ZOzadaZI Speed fast", MediaCommand::kBadNumber},
             Case{"SetAudio ZOzadaZI volume to 1001", MediaCommand::kBadNumber},
             Case{"SetAudio ZOzadaZI volume 500", MediaCommand::kMissingArgument},
             Case{"status ZOzadaZI position", MediaCommand::kBadKeyword},
             Case{"rewind ZOzadaZI", MediaCommand::kUnknownCommand},
             Case{"", MediaCommand::kUnknownCommand},
             Case{"PLAY zOZADAzi", MediaCommand::kOk},
         }) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(Send(c.command), c.code);
    }
    for (int code = 0; code <= MediaCommand::kBadKeyword; ++code) {
        EXPECT_LE(MediaCommand::ErrorText(code).size(), 128u);
    }
}

TEST_F(MediaCommandTest, PathsWithBlanksAndKeywordsOpen) {
    ovtest::TempDir dir;
    auto odd = dir / "my type alias" / "a sound.wav";
    std::filesystem::create_directories(odd.parent_path());
    std::filesystem::copy_file(AudioFixtures::Get().speech, odd);
    EXPECT_EQ(Send(Open(odd, "ZOzadaZI")), 0);
    EXPECT_EQ(Send("open \"" + odd.string() + "\" alias quoted"), 0);
}

TEST(ShortPath, IsThePathWhenTheFileExistsElseTheErrorWord) {
    const auto& f = AudioFixtures::Get();
    EXPECT_EQ(ov::ShortPath(f.toneWav.string()), f.toneWav.string());
    std::string upper = (f.folder / "TONE.WAV").string();
    EXPECT_EQ(ov::ShortPath(upper), "错误");
    EXPECT_EQ(ov::ShortPath(""), "错误");
}

}  // namespace
