#include <gtest/gtest.h>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>

#include "support/TestFiles.h"

namespace {

struct FeedbackRun {
    int exitCode = -1;
    std::string out;
};

FeedbackRun Feedback(const ovtest::TempDir& dir, const std::string& arguments) {
    const auto out = dir / "out.json";
    const std::string command = std::string(OV_TOOL_PATH) + " feedback " + arguments + " >" + out.string() + " 2>" +
                                (dir / "err.txt").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ovtest::ReadFile(out)};
}

bool Sox(const std::string& arguments) { return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0; }

TEST(FeedbackCommand, ExitCodesSayWhatWentWrong) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "empty.wav", "");
    ASSERT_TRUE(Sox("-n -r 8000 -c 1 " + (dir / "long.wav").string() + " trim 0 61"));
    const struct {
        std::string arguments;
        int exitCode;
    } cases[] = {
        {"", 2},
        {"'Good morning'", 2},
        {"'Good morning' " + (dir / "missing.wav").string(), 1},
        {"'Good morning' " + (dir / "empty.wav").string(), 1},
        {"'Good morning' " + (dir / "long.wav").string(), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(Feedback(dir, c.arguments).exitCode, c.exitCode) << c.arguments;
}

TEST(FeedbackCommand, ASilentRecordingHasEveryWordMissed) {
    ovtest::TempDir dir;
    const auto silent = dir / "silent.wav";
    ASSERT_TRUE(Sox("-n -r 44100 -c 2 " + silent.string() + " trim 0 1"));
    const FeedbackRun run = Feedback(dir, "'Good morning, Mike!' " + silent.string());
    ASSERT_EQ(run.exitCode, 0);
    const auto json = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(json.dump(),
              R"({"words":[)"
              R"({"word":"Good","heard":false,"confidence":0.0,"start_ms":0,"end_ms":1000},)"
              R"({"word":"morning,","heard":false,"confidence":0.0,"start_ms":0,"end_ms":1000},)"
              R"({"word":"Mike!","heard":false,"confidence":0.0,"start_ms":0,"end_ms":1000}],)"
              R"("heard":0,"missed":3})");
}

}  // namespace
