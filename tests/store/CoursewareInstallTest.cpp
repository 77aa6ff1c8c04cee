#include <gtest/gtest.h>

#include <map>

#include "store/CatalogueMerge.h"
#include "store/CoursewareInstall.h"
#include "store/SqliteStorage.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::string Password() { return ov::DecipherString(ov::kCatalogueDbPassword, ""); }

// A courseware set as a program folder holds it, with what is not part of a
// set beside it: a letter folder, a recording and a hidden file.
void MakeSet(const fs::path& folder, const ovtest::Entries& entries, const std::string& package) {
    ovtest::WriteCatalogue(folder / "DB/RsDbList.db", entries, Password());
    ovtest::WriteFile(folder / "Resources" / (package + ".ovpk"), "package " + package);
    ovtest::WriteFile(folder / "Resources/Q/OV/Class/p1.ovb", "unpacked");
    ovtest::WriteFile(folder / "Resources/.notes", "hidden");
    ovtest::WriteFile(folder / "Images/BO.bmp", "picture");
    ovtest::WriteFile(folder / "ENoises/rain.wav", "rain");
    ovtest::WriteFile(folder / "Records/20260101120000.wav", "pupil");
}

ovtest::Entries Catalogue(const fs::path& folder) {
    auto db = ov::OpenStoredDatabase(folder / "DB/RsDbList.db", Password(), ov::SqliteAccess::ReadOnly);
    ovtest::Entries entries;
    for (const auto& entry : ov::ReadCatalogueEntries(db)) entries.emplace_back(entry.code, entry.name);
    return entries;
}

// Every file below the folder with its bytes, but the lock an install leaves.
std::map<fs::path, std::string> Files(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != ".install-lock")
            files[fs::relative(entry.path(), folder)] = ovtest::ReadFile(entry.path());
    return files;
}

class CoursewareInstall : public testing::Test {
protected:
    ovtest::TempDir root;
    fs::path dest = root / "data/ovplayer";
};

TEST_F(CoursewareInstall, SetsMergeIntoOneFolderAndLeaveThePupilsFilesBehind) {
    MakeSet(root / "book1", {{"01", "课本一"}, {"0101", "Unit1 Hello"}}, "Unit1 Hello");
    MakeSet(root / "book2", {{"02", "课本二"}, {"0201", "Unit2 Colours"}}, "Unit2 Colours");
    ovtest::WriteFile(root / "book2/Images/BO.bmp", "another picture");

    auto first = ov::InstallCourseware(root / "book1", dest);
    EXPECT_EQ(first.entries, 2);
    EXPECT_EQ(first.files, 3);
    auto second = ov::InstallCourseware(root / "book2", dest);
    EXPECT_EQ(second.entries, 2);
    EXPECT_EQ(second.files, 1) << "the same scene sound is not copied twice";
    EXPECT_EQ(second.kept, std::vector<fs::path>{dest / "Images/BO.bmp"});

    // Another lesson of the first book joins its textbook entry.
    MakeSet(root / "book1b", {{"01", "课本一"}, {"0102", "Unit1 Bye"}}, "Unit1 Bye");
    EXPECT_EQ(ov::InstallCourseware(root / "book1b", dest).entries, 1);

    EXPECT_EQ(Catalogue(dest), (ovtest::Entries{{"01", "课本一"},
                                                {"0101", "Unit1 Hello"},
                                                {"0102", "Unit1 Bye"},
                                                {"02", "课本二"},
                                                {"0201", "Unit2 Colours"}}));
    auto files = Files(dest);
    files.erase("DB/RsDbList.db");
    EXPECT_EQ(files, (std::map<fs::path, std::string>{{"Resources/Unit1 Hello.ovpk", "package Unit1 Hello"},
                                                      {"Resources/Unit2 Colours.ovpk", "package Unit2 Colours"},
                                                      {"Resources/Unit1 Bye.ovpk", "package Unit1 Bye"},
                                                      {"Images/BO.bmp", "picture"},
                                                      {"ENoises/rain.wav", "rain"}}));
}

TEST_F(CoursewareInstall, RefusalsLeaveTheDestinationAsItWas) {
    MakeSet(root / "book1", {{"01", "课本一"}, {"0101", "Unit1 Hello"}}, "Unit1 Hello");
    ov::InstallCourseware(root / "book1", dest);
    const auto before = Files(dest);

    MakeSet(root / "clash", {{"03", "课本三"}, {"0101", "Unit3"}}, "Unit3");
    MakeSet(root / "samename", {{"04", "课本四"}}, "Unit1 Hello");
    ovtest::WriteFile(root / "samename/Resources/Unit1 Hello.ovpk", "another lesson of that name");
    ovtest::WriteFile(root / "nocatalogue/Resources/x.ovpk", "x");
    MakeSet(root / "corrupt", {{"05", "x"}}, "x");
    ovtest::WriteFile(root / "corrupt/DB/RsDbList.db", "not a database");
    const struct {
        const char* set;
        const char* says;
    } cases[] = {
        {"clash", "0101 \"Unit3\" is taken by \"Unit1 Hello\""},
        {"samename", "a different package"},
        {"nocatalogue", "holds no courseware set"},
        {"corrupt", "does not open"},
    };
    for (const auto& c : cases) {
        try {
            ov::InstallCourseware(root / c.set, dest);
            ADD_FAILURE() << c.set << " was installed";
        } catch (const ov::EInstallError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_EQ(Files(dest), before) << c.set;
    }
}

// The catalogue goes in last; when that fails, the packages already moved in
// are taken back out, so the folder never holds lessons its tree cannot show.
TEST_F(CoursewareInstall, AFailureWhileMovingInTakesBackWhatMoved) {
    MakeSet(root / "book1", {{"01", "课本一"}, {"0101", "Unit1 Hello"}}, "Unit1 Hello");
    ovtest::WriteFile(dest / "DB", "a file where the catalogue folder belongs");
    const auto before = Files(dest);
    EXPECT_THROW(ov::InstallCourseware(root / "book1", dest), ov::EInstallError);
    EXPECT_EQ(Files(dest), before);
    EXPECT_FALSE(fs::exists(dest / "Resources/Unit1 Hello.ovpk"));
}

}  // namespace
