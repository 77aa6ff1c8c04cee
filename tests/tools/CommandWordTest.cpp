#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TestFiles.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out, err;
};

ToolRun Tool(const std::string& arguments) {
    ovtest::TempDir dir;
    const std::string command = "'" OV_TOOL_PATH "' " + arguments + " > '" + (dir / "out").string() + "' 2> '" +
                                (dir / "err").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ovtest::ReadFile(dir / "out"), ovtest::ReadFile(dir / "err")};
}

// A script that misspells a command must stop there, whatever else it asks for.
TEST(CommandWord, UnknownCommandsAreRefusedWithTheCommandMeant) {
    const struct {
        const char* arguments;
        const char* word;
        const char* meant;  // null: no command is close enough to offer
    } cases[] = {
        {"NOSUCH --help", "NOSUCH", nullptr},
        {"NOSUCH", "NOSUCH", nullptr},
        {"--help NOSUCH", "NOSUCH", nullptr},
        {"instal-courseware --system folder", "instal-courseware", "install-courseware"},
        {"decrpyt a.ov a.ovb", "decrpyt", "decrypt"},
        {"lst Lesson.ovpk", "lst", "list"},
        // As close to "encrypt" as to "decrypt": neither is offered.
        {"crypt a.ov", "crypt", nullptr},
        {"Pack folder out.ovpk", "Pack", "pack"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = Tool(c.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty()) << run.out;
        std::string wanted = "ovtool: unknown command '" + std::string(c.word) + "'\n";
        if (c.meant) wanted += "did you mean '" + std::string(c.meant) + "'?\n";
        EXPECT_EQ(run.err, wanted);
    }
}

TEST(CommandWord, BareToolPrintsUsageAndKnownCommandsStillHelp) {
    const ToolRun bare = Tool("");
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_TRUE(bare.out.empty());
    EXPECT_EQ(bare.err.rfind("usage: ovtool COMMAND", 0), 0u) << bare.err;
    EXPECT_NE(bare.err.find(" install-courseware"), std::string::npos) << bare.err;

    for (const char* arguments : {"--help", "pack --help"}) {
        const ToolRun help = Tool(arguments);
        EXPECT_EQ(help.exitCode, 0) << arguments;
        EXPECT_NE(help.out.find("pack"), std::string::npos) << arguments;
    }
}

}  // namespace
