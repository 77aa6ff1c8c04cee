#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

#include "core/GbkText.h"
#include "store/ClassPackageFile.h"
#include "store/ClassPackageIndex.h"
#include "store/ClassPackageWriter.h"
#include "store/ClassZip.h"
#include "store/CipherAndFiles.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = ovtest::ReadFile(entry.path());
    return files;
}

// Lesson-like content: compressible text, noise, empty files, Chinese names, videos.
std::map<std::string, std::string> GeneratedLesson() {
    std::mt19937 random(7);
    std::map<std::string, std::string> files{
        {"Class/OVFunction.ind", "<Index/>"},
        {"Class/空文件.txt", ""},
        {"Class/课文/第一课.xml", std::string(5000, 'x') + "单词"},
        {"words.db", ""},
    };
    for (int i = 0; i < 40; ++i) {
        std::string noise(random() % 50000, '\0');
        for (auto& c : noise) c = static_cast<char>(random());
        files["Class/Pic/图" + std::to_string(i) + ".jpg"] = noise;
    }
    // Members are compressed slice by slice: one ends on a slice's end, one runs over several.
    for (const size_t size : {size_t{1} << 20, (size_t{5} << 20) / 2}) {
        std::string noise(size, '\0');
        for (auto& c : noise) c = static_cast<char>(random() % 7);
        files["Class/Video/" + std::to_string(size) + ".avi"] = noise;
    }
    return files;
}

TEST(ClassPackageWriter, PackedFolderListsAndUnpacksToTheSameFiles) {
    ovtest::TempDir dir;
    const auto lesson = GeneratedLesson();
    for (const auto& [name, bytes] : lesson) ovtest::WriteFile(dir / "lesson" / name, bytes);
    ov::WriteClassPackage(dir / "lesson", dir / "a.ovpk");

    ov::ClassPackageFile file;
    ASSERT_TRUE(file.Open((dir / "a.ovpk").string()));
    ov::ClassPackageIndex index(file.Bytes());
    ASSERT_TRUE(index.ReadAll()) << index.Error();
    std::vector<std::string> names, expected;
    for (const auto& m : index.Members()) names.push_back(m.name);
    for (const auto& [name, bytes] : lesson) {  // in byte order of the UTF-8 paths, like the members
        std::string stored = *ov::Utf8ToGbk(name);
        std::replace(stored.begin(), stored.end(), '/', '\\');
        expected.push_back(stored);
    }
    EXPECT_THAT(names, ElementsAreArray(expected));

    const auto header = index.Header();
    EXPECT_EQ(header.mark + header.format + header.version, "OOVCLASSPACK 1");
    int year = 0, month = 0, day = 0;
    EXPECT_EQ(std::sscanf(header.date.c_str(), "%4d-%2d-%2d", &year, &month, &day), 3) << header.date;
    EXPECT_EQ(header.date.size(), 10U);
    EXPECT_EQ(header.text, "ovplayer class package");

    ov::TClassZip zip;
    ASSERT_TRUE(zip.Unpack((dir / "a.ovpk").string(), (dir / "out").string(), nullptr));
    EXPECT_EQ(FilesBelow(dir / "out/OV"), lesson);
}

TEST(ClassPackageWriter, EmptyFolderMakesAnEmptyPackage) {
    ovtest::TempDir dir;
    fs::create_directories(dir / "lesson");
    ov::WriteClassPackage(dir / "lesson", dir / "a.ovpk");
    ov::TClassZip zip;
    EXPECT_TRUE(zip.Unpack((dir / "a.ovpk").string(), (dir / "out").string(), nullptr));
}

TEST(ClassPackageWriter, NamesAPackageCannotHoldLeaveNoPackage) {
    for (const char* name : {"Class/😀.txt", "Class/back\\slash.txt", "Class/line\nbreak.txt"}) {
        SCOPED_TRACE(name);
        ovtest::TempDir dir;
        ovtest::WriteFile(dir / "lesson" / name, "x");
        EXPECT_THROW(ov::WriteClassPackage(dir / "lesson", dir / "a.ovpk"), ov::EConvertError);
        EXPECT_FALSE(fs::exists(dir / "a.ovpk"));
    }
}

TEST(ClassPackageWriter, MissingFolderIsAStreamError) {
    ovtest::TempDir dir;
    EXPECT_THROW(ov::WriteClassPackage(dir / "none", dir / "a.ovpk"), ov::EStreamError);
}

TEST(ClassZipHeader, FieldsAreCutFromTheHeaderAndTheTextStaysInsideIt) {
    std::string header = "OOVCLASSPACK 12026-12-10";
    header += std::string("\x05\0\0\0", 4) + "hello";
    header.resize(2048, '\0');
    const auto fields = ov::TClassZip().ReadHeader(header);
    EXPECT_EQ(fields.mark, "O");
    EXPECT_EQ(fields.format, "OVCLASSPACK ");
    EXPECT_EQ(fields.version, "1");
    EXPECT_EQ(fields.date, "2026-12-10");
    EXPECT_EQ(fields.textLength, 5);
    EXPECT_EQ(fields.text, "hello");

    header.replace(24, 4, std::string("\xff\xff\xff\x7f", 4));
    EXPECT_EQ(ov::TClassZip().ReadHeader(header).text.size(), 2048U - 28);
    header.replace(24, 4, std::string("\xff\xff\xff\xff", 4));
    EXPECT_EQ(ov::TClassZip().ReadHeader(header).text, "");
    EXPECT_EQ(ov::TClassZip().ReadHeader("OOV").format, "OV");
}

TEST(ClassZipForceFolders, CreatesBaseAndEveryFolderBeforeTheLastElement) {
    struct Case {
        const char* relative;
        bool result;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"\\OV\\Class\\Pic\\a.jpg", true, {"base", "base/OV", "base/OV/Class", "base/OV/Class/Pic"}},
        {"\\OV\\Class\\", true, {"base", "base/OV"}},
        {"OV/Class/a.jpg", true, {"base", "base/OV", "base/OV/Class"}},
        {"", true, {"base"}},
        {"\\..\\..\\evil\\a", false, {"base"}},
        {"\\OV\\..\\..\\evil\\a", false, {"base"}},
        {"\\\\server\\share\\a", false, {"base"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.relative);
        ovtest::TempDir dir;
        EXPECT_EQ(ov::TClassZip().ForceFolders((dir / "base").string(), c.relative), c.result);
        std::vector<std::string> folders;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            folders.push_back(entry.path().lexically_relative(dir.path()).generic_string());
        std::sort(folders.begin(), folders.end());
        EXPECT_EQ(folders, c.folders);
    }
}

TEST(ClassZipForceFolders, RefusesALinkBelowTheBase) {
    ovtest::TempDir dir;
    fs::create_directories(dir / "base");
    fs::create_directories(dir / "outside");
    fs::create_symlink(dir / "outside", dir / "base/OV");
    EXPECT_FALSE(ov::TClassZip().ForceFolders((dir / "base").string(), "\\OV\\Class\\a.jpg"));
    EXPECT_TRUE(fs::is_empty(dir / "outside"));
}

}  // namespace
