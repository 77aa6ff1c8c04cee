#include <gtest/gtest.h>

#include "net/FileDigest.h"
#include "net/SiteManifest.h"
#include "net/SitePublisher.h"
#include "store/LessonData.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

class SitePublisher : public testing::Test {
protected:
    void SetUp() override {
        ovtest::WriteCatalogue(source / "DB/RsDbList.db", {{"01", "课本一"}, {"0101", "Unit1 Hello"}},
                               ov::CataloguePassword());
        ovtest::WriteFile(source / "Resources/Unit1 Hello.ovpk", "package one");
        ovtest::WriteFile(source / "Resources/Q/OV/Class/p1.ovb", "unpacked, not part of the set");
        ovtest::WriteFile(source / "Images/BO.bmp", "picture");
        ovtest::WriteFile(source / "ENoises/rain.wav", "rain");
    }
    ov::SiteManifest Published() const { return ov::ParseManifest(ovtest::ReadFile(site / "manifest.json")); }

    ovtest::TempDir root;
    fs::path source = root / "set";
    fs::path site = root / "www";
};

TEST_F(SitePublisher, ListsEveryFileButItselfAndRewritesOnlyWhatChanged) {
    const auto first = ov::PublishSite(source, site);
    EXPECT_EQ(first.written, 4);
    const auto manifest = Published();
    EXPECT_EQ(manifest.codes, (std::vector<std::string>{"01", "0101"}));
    ASSERT_EQ(manifest.files.size(), 4u);
    for (const auto& file : manifest.files) {
        EXPECT_EQ(ovtest::ReadFile(site / file.path), ovtest::ReadFile(source / file.path)) << file.path;
        EXPECT_EQ(file.size, fs::file_size(source / file.path));
        EXPECT_EQ(file.sha256, ov::FileSha256(source / file.path));
    }
    EXPECT_FALSE(fs::exists(site / "Resources/Q"));

    const auto again = ov::PublishSite(source, site);
    EXPECT_EQ(again.written, 0);
    EXPECT_EQ(again.unchanged, 4);

    ovtest::WriteFile(source / "Resources/Unit1 Hello.ovpk", "package one, corrected");
    fs::remove(source / "ENoises/rain.wav");
    const auto changed = ov::PublishSite(source, site);
    EXPECT_EQ(changed.written, 1);
    EXPECT_EQ(changed.removed, 1);
    EXPECT_EQ(ovtest::ReadFile(site / "Resources/Unit1 Hello.ovpk"), "package one, corrected");
    EXPECT_FALSE(fs::exists(site / "ENoises/rain.wav"));
    EXPECT_EQ(Published().files.size(), 3u);
    // Nothing of the staging is left for the web server to show.
    for (const auto& entry : fs::directory_iterator(site)) EXPECT_FALSE(entry.path().filename().string().starts_with('.'));
}

TEST_F(SitePublisher, RefusesASetThePlayerWouldRefuseAndLeavesTheSiteAlone) {
    ov::PublishSite(source, site);
    const std::string before = ovtest::ReadFile(site / "manifest.json");
    ovtest::WriteFile(source / "Images/bad\nname.bmp", "x");
    EXPECT_THROW(ov::PublishSite(source, site), ov::EPublishError);
    fs::remove(source / "Images/bad\nname.bmp");
    fs::remove(source / "DB/RsDbList.db");
    EXPECT_THROW(ov::PublishSite(source, site), ov::EPublishError);
    EXPECT_EQ(ovtest::ReadFile(site / "manifest.json"), before);
}

}  // namespace
