#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string stderrText;
};

ToolRun Swf(const ovtest::TempDir& dir, const std::string& spec, const std::string& options = "") {
    ovtest::WriteFile(dir / "spec.json", spec);
    const std::string command = "'" OV_TOOL_PATH "' swf " + options + " '" + (dir / "spec.json").string() + "' '" +
                                (dir / "out.swf").string() + "' 2> '" + (dir / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ovtest::ReadFile(dir / "stderr.txt")};
}

constexpr char kGood[] = R"({"width": 100, "height": 50, "frames": [{}]})";

TEST(SwfCommand, WritesPlainOrCompressedMovies) {
    ovtest::TempDir dir;
    ASSERT_EQ(Swf(dir, kGood).exitCode, 0);
    EXPECT_EQ(ovtest::ReadFile(dir / "out.swf").substr(0, 3), "FWS");
    ASSERT_EQ(Swf(dir, kGood, "--compress").exitCode, 0);
    EXPECT_EQ(ovtest::ReadFile(dir / "out.swf").substr(0, 3), "CWS");
}

TEST(SwfCommand, BadDescriptionLeavesTheOldMovieAndNoOtherFile) {
    const struct {
        const char* spec;
        const char* message;
    } cases[] = {
        {R"({"width": 100, "height": 50, "frames": [{"hide": ["x"]}]})", "frames[0].hide[0]: no object"},
        {R"({"width": 100, )", "not JSON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec);
        ovtest::TempDir dir;
        ovtest::WriteFile(dir / "out.swf", "old");
        const ToolRun run = Swf(dir, c.spec);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.stderrText.find(c.message), std::string::npos) << run.stderrText;
        EXPECT_EQ(ovtest::ReadFile(dir / "out.swf"), "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // spec, stderr, old movie
    }
}

}  // namespace
