#include <gtest/gtest.h>

#include "core/CoursewarePath.h"
#include "core/MessageHook.h"
#include "support/TestFiles.h"

namespace {

TEST(ResolveCoursewarePath, MatchesEachComponentIgnoringCase) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "OV/Class/Pic/Apple.JPG", "x");
    ovtest::WriteFile(dir / "OV/Class/page1.ov", "x");
    const struct {
        const char* relative;
        const char* expected;
    } cases[] = {
        {"OV/Class/page1.ov", "OV/Class/page1.ov"},
        {"ov\\class\\PIC\\apple.jpg", "OV/Class/Pic/Apple.JPG"},
        {"ov\\CLASS\\new.ovb", "OV/Class/new.ovb"},
        {"ov/missing/Pic/x.jpg", "OV/missing/Pic/x.jpg"},
        {"\\OV\\\\Class\\.\\page1.ov", "OV/Class/page1.ov"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ov::ResolveCoursewarePath(dir.path(), c.relative), dir / c.expected) << c.relative;
}

TEST(ResolveCoursewarePath, PrefersTheExactNameThenTheFirstInByteOrder) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "word.wav", "x");
    ovtest::WriteFile(dir / "Word.wav", "x");
    ovtest::WriteFile(dir / "WORD.WAV", "x");
    EXPECT_EQ(ov::ResolveCoursewarePath(dir.path(), "Word.wav"), dir / "Word.wav");
    EXPECT_EQ(ov::ResolveCoursewarePath(dir.path(), "word.WAV"), dir / "WORD.WAV");
}

// A lesson's names stay in the lesson: ".." that climbs above the folder, and
// links that lead out of it, name nothing but the folder itself; the same
// steps inside it are fine.
TEST(ResolveCoursewarePath, NamesThatLeaveTheFolderNameNoFileOutsideIt) {
    ovtest::TempDir dir;
    const auto lesson = dir / "lesson";
    ovtest::WriteFile(lesson / "Pic/cat.jpg", "x");
    ovtest::WriteFile(dir / "secret.png", "x");
    std::filesystem::create_directory_symlink(dir.path(), lesson / "out");
    std::filesystem::create_directory_symlink(lesson / "Pic", lesson / "in");
    std::filesystem::create_symlink(dir / "secret.png", lesson / "leak.png");
    const struct {
        const char* relative;
        const char* expected;  // below the lesson; null: leaves it
    } cases[] = {
        {"Pic/../Pic/cat.jpg", "Pic/cat.jpg"},
        {"in\\CAT.JPG", "in/cat.jpg"},
        {"out/../Pic/cat.jpg", "Pic/cat.jpg"},
        {"../secret.png", nullptr},
        {"Pic\\..\\..\\secret.png", nullptr},
        {"../lesson/Pic/cat.jpg", nullptr},
        {"out/secret.png", nullptr},
        {"OUT/missing/x.png", nullptr},
        {"leak.png", nullptr},
    };
    for (const auto& c : cases) {
        const auto resolved = ov::ResolveCoursewareName(lesson, c.relative);
        if (c.expected) {
            EXPECT_EQ(resolved, lesson / c.expected) << c.relative;
        } else {
            EXPECT_FALSE(resolved) << c.relative << " gave " << resolved->string();
            EXPECT_EQ(ov::ResolveCoursewarePath(lesson, c.relative), lesson) << c.relative;
        }
    }
}

TEST(ShowMessageEx, RecordsUntilAHandlerIsInstalled) {
    ov::TakeRecordedMessages();
    EXPECT_EQ(ov::ShowMessageEx("提示", "未找到资源文件", 0), 1);
    auto recorded = ov::TakeRecordedMessages();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].caption, "提示");
    EXPECT_EQ(recorded[0].text, "未找到资源文件");

    ov::SetMessageHandler([](const ov::Message& m) { return m.kind == 1 ? 7 : 1; });
    EXPECT_EQ(ov::ShowMessageEx("c", "t", 1), 2);  // anything but 1 answers 2
    EXPECT_EQ(ov::ShowMessageEx("c", "t", 0), 1);
    ov::SetMessageHandler({});
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

}  // namespace
