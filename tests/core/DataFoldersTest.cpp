#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "core/DataFolders.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

// A machine in a temporary folder: the program in bin/, the pupil's home,
// two system data folders; every folder but the read-only ones may be written.
class DataFoldersTest : public testing::Test {
protected:
    DataFoldersTest() {
        env.executableFolder = root / "bin";
        env.home = (root / "home").string();
        env.dataDirs = (root / "sys1").string() + ":" + (root / "sys2").string();
        env.writable = [this](const fs::path& folder) { return !readOnly.contains(folder); };
        fs::create_directories(env.executableFolder);
    }
    static void AddCourseware(const fs::path& folder, const char* sub = "DB") { fs::create_directories(folder / sub); }
    fs::path User() const { return root / "home/.local/share/ovplayer"; }

    ovtest::TempDir root;
    ov::FolderEnvironment env;
    std::set<fs::path> readOnly;
};

TEST_F(DataFoldersTest, OneFolderWinsBeforeTheSearchPath) {
    AddCourseware(User());
    AddCourseware(root / "sys1/ovplayer");
    // Beside the program: as an unpacked installation has always had it.
    AddCourseware(env.executableFolder, "Resources");
    auto found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), Paths{env.executableFolder});
    EXPECT_EQ(found.Writable(), env.executableFolder);
    // OV_HOME beats even that, and need not exist yet.
    env.ovHome = (root / "elsewhere/").string();
    found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), Paths{root / "elsewhere/"});
    EXPECT_EQ(found.Writable(), root / "elsewhere/");
}

TEST_F(DataFoldersTest, AOneFolderInstallWeMayNotWriteSendsWritesToThePupil) {
    AddCourseware(env.executableFolder);
    readOnly.insert(env.executableFolder);
    const auto found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), Paths{env.executableFolder});
    EXPECT_EQ(found.Writable(), User());
}

TEST_F(DataFoldersTest, SearchPathKeepsEveryFolderHoldingCoursewareInOrder) {
    AddCourseware(root / "sys2/ovplayer", "Resources");
    AddCourseware(User());
    fs::create_directories(root / "sys1/ovplayer/ruffle");  // the program's own files, no courseware
    auto found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), (Paths{User(), root / "sys2/ovplayer"}));
    EXPECT_EQ(found.Writable(), User());

    // A shared folder is never written, even by a user who could.
    fs::remove_all(User());
    found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), Paths{root / "sys2/ovplayer"});
    EXPECT_EQ(found.Writable(), User());

    fs::remove_all(root / "sys2");
    found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Courseware(), Paths{User()}) << "no courseware anywhere: the pupil's folder, empty";
}

TEST_F(DataFoldersTest, XdgVariablesFollowTheirRules) {
    const struct {
        const char* dataHome;
        std::string dataDirs;
        fs::path user;
        Paths system;
        fs::path installInto;
    } cases[] = {
        {"", "", User(), {"/usr/local/share/ovplayer", "/usr/share/ovplayer"}, "/usr/local/share/ovplayer"},
        {"relative/data", "rel:/opt/a/::/opt/a", User(), {"/opt/a/ovplayer"}, "/opt/a/ovplayer"},
        {"/srv/pupil",
         "/usr/share/gnome:/usr/local/share",
         "/srv/pupil/ovplayer",
         {"/usr/share/gnome/ovplayer", "/usr/local/share/ovplayer"},
         "/usr/local/share/ovplayer"},
        {"", "relative", User(), {}, ""},
    };
    for (const auto& c : cases) {
        env.dataHome = c.dataHome;
        env.dataDirs = c.dataDirs;
        EXPECT_EQ(ov::UserDataFolder(env), c.user) << c.dataHome;
        EXPECT_EQ(ov::SystemDataFolders(env), c.system) << c.dataDirs;
        EXPECT_EQ(ov::SystemInstallFolder(env), c.installInto) << c.dataDirs;
    }
    // The pupil's folder named again on the system path is searched once.
    env.dataHome = (root / "data").string();
    env.dataDirs = (root / "data").string();
    AddCourseware(root / "data/ovplayer");
    EXPECT_EQ(ov::DataFolders::Find(env).Courseware(), Paths{root / "data/ovplayer"});
}

TEST_F(DataFoldersTest, HoldingAndExistingLookInPrecedenceOrder) {
    AddCourseware(User());
    AddCourseware(root / "sys1/ovplayer");
    ovtest::WriteFile(root / "sys1/ovplayer/ENoises/rain.wav", "x");
    ovtest::WriteFile(root / "sys1/ovplayer/DB/RsDbList.db", "x");
    ovtest::WriteFile(User() / "DB/RsDbList.db", "x");
    const auto found = ov::DataFolders::Find(env);
    EXPECT_EQ(found.Holding("ENoises"), root / "sys1/ovplayer");
    EXPECT_EQ(found.Holding("Images"), User()) << "missing everywhere: the first folder";
    EXPECT_EQ(found.Existing("DB/RsDbList.db"),
              (Paths{User() / "DB/RsDbList.db", root / "sys1/ovplayer/DB/RsDbList.db"}));
}

TEST(DataFolders, CurrentReadsTheProcessEnvironment) {
    ovtest::TempDir home;
    setenv("OV_HOME", home.path().c_str(), 1);
    EXPECT_EQ(ov::DataFolders::Current().Courseware(), Paths{home.path()});
    unsetenv("OV_HOME");
    EXPECT_TRUE(fs::exists(ov::ExecutableFolder() / "ov_core_tests"));
    EXPECT_EQ(ov::InstalledDataFolder("/usr/bin"), "/usr/share/ovplayer");
}

}  // namespace
