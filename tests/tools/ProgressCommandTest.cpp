#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "store/ProgressStore.h"
#include "support/TestFiles.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun Progress(const ovtest::TempDir& dir, const std::string& options) {
    const std::string command = "'" OV_TOOL_PATH "' progress --db '" + (dir / "progress.db").string() + "' " +
                                options + " > '" + (dir / "out.txt").string() + "' 2> '" +
                                (dir / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ovtest::ReadFile(dir / "out.txt"),
            ovtest::ReadFile(dir / "err.txt")};
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

void WriteRecord(const std::filesystem::path& file) {
    auto store = ov::ProgressStore::OpenForPlayer(file, 0);
    store->Record(ov::LessonOpened{"0101", "Unit 1, \"Hello\"", 1'780'000'000});
    store->Record(ov::ReadingScore{"0101", 9, 2, {3, 4}, "Hello, Mike.", 72, {{"Mike", false, 0.25}}, 1'780'000'100});
    store->Record(ov::AnswerTally{"0101", 10, 1, 5, 1, {{"frend", "friend"}}, 1'780'000'200});
    store->Record(ov::LessonClosed{"0101", 1'780'000'300});
}

TEST(ProgressCommand, PrintsTheRecordAsJsonOrCsv) {
    ovtest::TempDir dir;
    WriteRecord(dir / "progress.db");

    const ToolRun json = Progress(dir, "");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto record = nlohmann::json::parse(json.out);
    EXPECT_EQ(record["lessons"][0]["seconds"], 300);
    EXPECT_EQ(record["lessons"][0]["best"], 72.0);
    EXPECT_EQ(record["scores"][0]["sentences"], nlohmann::json({3, 4}));
    EXPECT_EQ(record["scores"][0]["words"][0]["heard"], false);
    EXPECT_EQ(record["tallies"][0]["wrongAnswers"][0]["typed"], "frend");

    const ToolRun csv = Progress(dir, "--csv");
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(Lines(csv.out), 3u);
    EXPECT_THAT(csv.out, ::testing::StartsWith("time,kind,lesson,caption,function,page,"));
    // Commas and quotes of the courseware's texts stay inside their fields.
    EXPECT_THAT(csv.out, ::testing::HasSubstr(",score,0101,\"Unit 1, \"\"Hello\"\"\",9,2,3; 4,\"Hello, Mike.\",72,"));

    EXPECT_EQ(nlohmann::json::parse(Progress(dir, "--since 2099-01-01").out)["scores"].size(), 0u);
}

TEST(ProgressCommand, ExitRules) {
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        const char* options;
        int exitCode;
        const char* err;
    };
    const Case cases[] = {
        {"missing store", nullptr, "", 0, ""},
        {"empty store", "", "--csv", 0, ""},
        {"damaged store", "not a database, not at all, and long enough to look like a header", "", 1, "damaged"},
        {"damaged store, reset", "not a database, not at all, and long enough to look like a header",
         "--reset --yes", 1, "damaged"},
        {"reset without --yes", nullptr, "--reset", 2, "--yes"},
        {"bad date", nullptr, "--since 1.9.2026", 2, "YYYY-MM-DD"},
        {"reset of nothing", nullptr, "--reset --yes", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ovtest::TempDir dir;
        if (c.content) ovtest::WriteFile(dir / "progress.db", c.content);
        const ToolRun run = Progress(dir, c.options);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_THAT(run.err, ::testing::HasSubstr(c.err));
        // The tool never makes, moves or changes the store.
        if (c.content)
            EXPECT_EQ(ovtest::ReadFile(dir / "progress.db"), c.content);
        else
            EXPECT_FALSE(std::filesystem::exists(dir / "progress.db"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), c.content ? 3 : 2);
    }
    ovtest::TempDir dir;
    EXPECT_EQ(Progress(dir, "").out, "{\n  \"lessons\": [],\n  \"scores\": [],\n  \"tallies\": [],\n  \"drills\": []\n}\n");
    EXPECT_EQ(Progress(dir, "--csv").out, "time,kind,lesson,caption,function,page,sentences,text,score,right,wrong,"
                                          "wrong_answers,words\n");
}

TEST(ProgressCommand, ResetEmptiesTheRecord) {
    ovtest::TempDir dir;
    WriteRecord(dir / "progress.db");
    ASSERT_EQ(Progress(dir, "--reset --yes").exitCode, 0);
    const auto record = nlohmann::json::parse(Progress(dir, "").out);
    EXPECT_TRUE(record["lessons"].empty());
    EXPECT_TRUE(record["scores"].empty());
}

}  // namespace
