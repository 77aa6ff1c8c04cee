#include "shell/PruneRecords.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
    int recordings;
    std::vector<std::string> others;  // files and folders ("name/") that are not recordings
    int recordingsLeft;
};

TEST(PruneRecords, KeepsTheNineNewestRecordingsAndNothingElseGoes) {
    const std::vector<std::string> nineOthers{"notes1.txt", "notes2.txt", "notes3.txt", "notes4.txt", "notes5.txt",
                                              "notes6.txt", "notes7.txt", "notes8.txt", "notes9.txt"};
    const PruneCase cases[] = {
        {"twelve recordings", 12, {}, 9},
        {"exactly ten recordings", 10, {}, 10},
        {"eleven recordings", 11, {}, 9},
        {"ten recordings and a folder", 10, {"kept/"}, 10},
        {"twelve recordings among files sorting after them", 12, nineOthers, 9},
        {"files named almost like recordings", 3,
         {"2024010112000.wav", "202401011200001.wav", "20240101120000.wav.bak", "20240101120000_0.wav",
          "20240101120000-1.wav", "2024010112000x.wav", "20240101120000_.wav", "20240101120000.mp3",
          "20240101120000.wav/"},
         3},
        {"few entries", 3, {}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ovtest::TempDir dir;
        // Written newest first so that creation order cannot stand in for name order.
        for (int i = c.recordings; i >= 1; --i) ovtest::WriteFile(dir / Recording(i), "RIFF");
        for (const auto& other : c.others) {
            if (other.ends_with('/'))
                std::filesystem::create_directory(dir / other.substr(0, other.size() - 1));
            else
                ovtest::WriteFile(dir / other, "other");
        }

        ov::PruneRecords(dir.path());

        std::vector<std::string> expected;
        for (int i = c.recordings - c.recordingsLeft + 1; i <= c.recordings; ++i) expected.push_back(Recording(i));
        for (const auto& other : c.others) expected.push_back(other.ends_with('/') ? other.substr(0, other.size() - 1) : other);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Names(dir.path()), expected);
    }
}

// Two recordings within one second get "_1", "_2", ... and "_10" is newer than "_9".
TEST(PruneRecords, SuffixesCountAsNumbers) {
    ovtest::TempDir dir;
    const std::string stamp = "20240101120000";
    ovtest::WriteFile(dir / (stamp + ".wav"), "RIFF");
    for (int n = 1; n <= 11; ++n) ovtest::WriteFile(dir / (stamp + "_" + std::to_string(n) + ".wav"), "RIFF");

    ov::PruneRecords(dir.path());

    std::vector<std::string> expected;
    for (int n = 3; n <= 11; ++n) expected.push_back(stamp + "_" + std::to_string(n) + ".wav");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.path()), expected);
}

TEST(PruneRecords, MissingFolderIsQuiet) {
    ovtest::TempDir dir;
    EXPECT_NO_THROW(ov::PruneRecords(dir / "Records"));
}

}  // namespace
