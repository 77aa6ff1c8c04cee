#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode;
    std::string output;
};

ToolRun Ovtool(const ovtest::TempDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + dir.path().string() + "' && XDG_DATA_HOME='" + (dir / "data").string() +
                                "' '" OV_TOOL_PATH "' " + arguments + " > out.txt 2>&1";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ovtest::ReadFile(dir / "out.txt")};
}

// A short silent recording: a mono 16-bit WAV of 800 samples.
std::string Wav() {
    const auto le = [](uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
        return text;
    };
    const uint32_t data = 1600;
    return "RIFF" + le(36 + data, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) +
           le(2, 2) + le(16, 2) + "data" + le(data, 4) + std::string(data, '\0');
}

// Every sound recorded, so no voice is needed; more dialogue and test
// questions than a page holds.
constexpr char kSource[] =
    "[lesson]\nname = Unit9 Fruit\ntextbook = 91 我的英语\ngrade = 9101 三年级\nunit = 910101 Unit 9 水果\n"
    "code = 91010101\n"
    "[words]\n"
    "apple | ˈæpl | 苹果 | I like apples. | sound: r.wav\n"
    "pear | peə | 梨 | Do you like pears? | sound: r.wav\n"
    "[dialogue]\n"
    "Amy: Do you like pears, the big yellow ones from the market by the river near our school? | sound: r.wav\n"
    "Ben: Yes, I do. | sound: r.wav\n"
    "Amy: Here you are. | sound: r.wav\nBen: Thank you. | sound: r.wav\nAmy: Goodbye. | sound: r.wav\n"
    "Ben: Bye. | sound: r.wav\nAmy: See you. | sound: r.wav\nBen: See you. | sound: r.wav\n"
    "[test]\napple | pear\npear | apple\napple\npear | apple\n";

TEST(BuildCommand, BuildsCoursewareThatPassesTheCheckAndInstalls) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "r.wav", Wav());
    ovtest::WriteFile(dir / "fruit.lesson", kSource);
    const auto built = Ovtool(dir, "build fruit.lesson out");
    ASSERT_EQ(built.exitCode, 0) << built.output;
    EXPECT_TRUE(fs::exists(dir / "out/DB/RsDbList.db"));
    const auto check = Ovtool(dir, "check 'out/Resources/Unit9 Fruit.ovpk'");
    EXPECT_EQ(check.exitCode, 0) << check.output;
    const auto listed = Ovtool(dir, "list 'out/Resources/Unit9 Fruit.ovpk'");
    for (const char* member :
         {"Class\\words.ov", "Class\\sentences.ov", "Class\\roles.ov", "Class\\test.ov", "Class\\test2.ov",
          "Class\\sentences2.ov", "Class\\roles2.ov", "Class\\OVFunction.ind", "Class\\words.db", "Class\\w_apple.wav",
          "Class\\s1.wav", "Class\\card_pear.jpg", "Class\\scene.jpg"})
        EXPECT_NE(listed.output.find(member), std::string::npos) << member << "\n" << listed.output;
    const auto installed = Ovtool(dir, "install-courseware out");
    EXPECT_EQ(installed.exitCode, 0) << installed.output;

    // A second build replaces the first.
    EXPECT_EQ(Ovtool(dir, "build fruit.lesson out").exitCode, 0);
}

TEST(BuildCommand, AMistakeIsReportedAtItsPlaceAndNothingIsWritten) {
    const struct {
        const char* recording;  // the contents of r.wav, when there is one
        const char* source;
        const char* says;
    } cases[] = {
        {nullptr, kSource, "fruit.lesson:8:45: r.wav does not exist"},
        {"not a sound", kSource, "fruit.lesson:8:45: r.wav is not a recording the player can play"},
        {"", "[lesson]\nname = X\n[word]\n", "fruit.lesson:3:2: unknown section [word]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        ovtest::TempDir dir;
        if (c.recording) ovtest::WriteFile(dir / "r.wav", c.recording);
        ovtest::WriteFile(dir / "fruit.lesson", c.source);
        const auto run = Ovtool(dir, "build fruit.lesson out");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.output, std::string(c.says) + "\n");
        EXPECT_FALSE(fs::exists(dir / "out"));
        int left = 0;
        for ([[maybe_unused]] const auto& file : fs::directory_iterator(dir.path())) ++left;
        EXPECT_EQ(left, c.recording ? 3 : 2) << "the source, out.txt and the recording only";
    }
}

}  // namespace
