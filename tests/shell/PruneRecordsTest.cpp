#include "shell/PruneRecords.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Recording(int i) {
    return "202401011200" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".wav";
}

struct PruneCase {
    const char* what;
    int files;
    int folders;
    int filesLeft;
};

TEST(PruneRecords, KeepsTheNineNewestOnceTheFolderIsFull) {
    const PruneCase cases[] = {
        {"twelve recordings", 12, 0, 9},
        {"exactly ten entries", 10, 0, 10},
        {"eleven entries, ten files", 10, 1, 9},
        {"folders count as entries but there are too few files", 9, 3, 9},
        {"few entries", 3, 0, 3},
    };
    for (const auto& c : cases) {
        ovtest::TempDir dir;
        // Written newest first so that creation order cannot stand in for name order.
        for (int i = c.files; i >= 1; --i) ovtest::WriteFile(dir / Recording(i), "RIFF");
        for (int i = 0; i < c.folders; ++i) std::filesystem::create_directory(dir / ("kept" + std::to_string(i)));

        ov::PruneRecords(dir.path());

        std::vector<std::string> expected;
        for (int i = c.files - c.filesLeft + 1; i <= c.files; ++i) expected.push_back(Recording(i));
        for (int i = 0; i < c.folders; ++i) expected.push_back("kept" + std::to_string(i));
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Names(dir.path()), expected) << c.what;
    }
}

TEST(PruneRecords, MissingFolderIsQuiet) {
    ovtest::TempDir dir;
    EXPECT_NO_THROW(ov::PruneRecords(dir / "Records"));
}

}  // namespace
