#include <gtest/gtest.h>

#include "store/CipherAndFiles.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

TEST(DeleteStaleLessonFiles, KeepsOnlyTheNamedPageInEveryFolder) {
    ovtest::TempDir dir;
    for (const char* name : {"Page1.OVB", "page2.ovb", "page2.ov", "notes.txt", "sub/page2.ovb", "sub/page1.ovb",
                             "sub/deeper/PAGE3.OvB", "sub/deeper/keep.xml"})
        ovtest::WriteFile(dir / name, "x");
    ov::DeleteStaleLessonFiles(dir.path(), "page1.ovb");
    for (const char* kept : {"Page1.OVB", "page2.ov", "notes.txt", "sub/page1.ovb", "sub/deeper/keep.xml"})
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
    for (const char* gone : {"page2.ovb", "sub/page2.ovb", "sub/deeper/PAGE3.OvB"})
        EXPECT_FALSE(fs::exists(dir / gone)) << gone;
}

// Blanks and control characters around the extension do not hide a page copy;
// one inside it makes another extension.
TEST(DeleteStaleLessonFiles, TrimsTheExtensionButKeepsItsInsideBlanks) {
    struct Case {
        const char* name;
        bool swept;
    };
    const Case cases[] = {
        {"a.ov b", false}, {"b.ovb\t", true}, {"c.ovb ", true}, {"d.OVB\r\n", true},
        {"e. ovb", false}, {"f.ovbx", false}, {"g.ovb.txt", false}, {"h ovb", false},
    };
    ovtest::TempDir dir;
    for (const auto& c : cases) ovtest::WriteFile(dir / c.name, "x");
    ov::DeleteStaleLessonFiles(dir.path(), "page1.ovb");
    for (const auto& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.swept) << c.name;
}

TEST(DeleteStaleLessonFiles, NeverSweepsThroughALinkedFolder) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "outside/page9.ovb", "x");
    fs::create_directories(dir / "lesson");
    fs::create_directory_symlink(dir / "outside", dir / "lesson/link");
    ov::DeleteStaleLessonFiles(dir / "lesson", "page1.ovb");
    EXPECT_TRUE(fs::exists(dir / "outside/page9.ovb"));
}

TEST(ListFiles, ListsFilesOnlySortedIgnoringCase) {
    ovtest::TempDir dir;
    for (const char* name : {"b.wav", "A.wav", "sub/c.wav"}) ovtest::WriteFile(dir / name, "x");
    auto files = ov::ListFiles(dir.path());
    ASSERT_TRUE(files);
    EXPECT_EQ(*files, (std::vector<std::string>{(dir / "A.wav").string(), (dir / "b.wav").string()}));
    EXPECT_EQ(ov::CountEntries(dir.path()), 3);
}

TEST(ListFiles, NothingForAnEmptyOrMissingFolder) {
    ovtest::TempDir dir;
    EXPECT_FALSE(ov::ListFiles(dir.path()));
    EXPECT_FALSE(ov::ListFiles(dir / "missing"));
    EXPECT_EQ(ov::CountEntries(dir / "missing"), 0);
    fs::create_directories(dir / "only-a-folder");
    auto files = ov::ListFiles(dir.path());
    ASSERT_TRUE(files);
    EXPECT_TRUE(files->empty());
}

TEST(DeleteFolder, RemovesTheTreeAndReportsAMissingFolder) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "A/OV/Class/page1.ov", "x");
    EXPECT_TRUE(ov::DeleteFolder(dir / "A"));
    EXPECT_FALSE(fs::exists(dir / "A"));
    EXPECT_FALSE(ov::DeleteFolder(dir / "A"));
}

}  // namespace
