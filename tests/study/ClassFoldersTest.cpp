#include "study/ClassFolders.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <set>

namespace {

namespace fs = std::filesystem;

TEST(ClassFolders, DrawnLetterAvoidsBothFoldersInUse) {
    std::mt19937 random(7);
    std::set<char> seen;
    for (int i = 0; i < 2000; ++i) {
        const char letter = ov::DrawFolderLetter("A", "B", random);
        ASSERT_GE(letter, 'C');
        ASSERT_LE(letter, 'Z');
        seen.insert(letter);
    }
    EXPECT_EQ(seen.size(), 24u) << "every other letter can come up";
    EXPECT_NE(ov::DrawFolderLetter("", "", random), '\0');
}

TEST(ClassFolders, StaleFoldersGoButLinksHiddenAndFilesStay) {
    ovtest::TempDir resources, outside;
    for (const char* folder : {"A", "B", "C", "notes", ".cache"}) {
        fs::create_directories(resources / folder / "OV" / "Class");
        ovtest::WriteFile(resources / folder / "OV" / "Class" / "p.ov", "x");
    }
    ovtest::WriteFile(resources / "lesson.ovpk", "package");
    ovtest::WriteFile(outside / "keep.txt", "outside");
    fs::create_directory_symlink(outside.path(), resources / "L");

    ov::DeleteStaleClassFolders(resources.path(), "A", "B");

    EXPECT_TRUE(fs::exists(resources / "A" / "OV" / "Class" / "p.ov"));
    EXPECT_TRUE(fs::exists(resources / "B"));
    EXPECT_FALSE(fs::exists(resources / "C"));
    EXPECT_FALSE(fs::exists(resources / "notes")) << "any name goes, not only letters";
    EXPECT_TRUE(fs::exists(resources / ".cache"));
    EXPECT_TRUE(fs::exists(resources / "lesson.ovpk"));
    EXPECT_TRUE(fs::is_symlink(resources / "L"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
}

TEST(ClassFolders, FolderWithoutWritePermissionStays) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    ovtest::TempDir resources;
    fs::create_directories(resources / "R" / "inner");
    fs::permissions(resources / "R", fs::perms::owner_read | fs::perms::owner_exec);
    ov::DeleteStaleClassFolders(resources.path(), "A", "B");
    EXPECT_TRUE(fs::exists(resources / "R" / "inner"));
    fs::permissions(resources / "R", fs::perms::owner_all);
}

TEST(ClassFolders, MissingResourcesFolderIsQuiet) {
    ovtest::TempDir base;
    ov::DeleteStaleClassFolders(base / "missing", "A", "B");
}

}  // namespace
