#include "shell/ShellSettings.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

struct StyleCase {
    const char* stored;
    int next;
};

TEST(ShowStyle, CyclesOneToSixteenAndRestartsOnAnythingElse) {
    const StyleCase cases[] = {{"", 1},   {"1", 2},   {"5", 6},  {"15", 16}, {"16", 1},  {"0", 1},
                               {"17", 1}, {"-3", 1}, {"abc", 1}, {"5.5", 1}, {" 7 ", 8}};
    for (const auto& c : cases) EXPECT_EQ(ov::NextShowStyle(QString::fromLatin1(c.stored)), c.next) << c.stored;
}

class StoredSettings : public testing::Test {
protected:
    void SetUp() override { ovtest::TestApp(); }
    QSettings Open(const char* name) const {
        return QSettings(QString::fromStdString((dir / name).string()), QSettings::IniFormat);
    }
    ovtest::TempDir dir;
};

TEST_F(StoredSettings, AdvancingStoresTheStyleItAnimatesWith) {
    QSettings settings = Open("orvane.ini");
    EXPECT_EQ(ov::AdvanceShowStyle(settings), 1);
    EXPECT_EQ(settings.value("ShowStyle").toString(), "1");

    for (const auto& [stored, next] : {std::pair{"16", "1"}, {"5", "6"}}) {
        settings.setValue("ShowStyle", stored);
        EXPECT_EQ(ov::AdvanceShowStyle(settings), QString(next).toInt());
        settings.sync();
        EXPECT_EQ(Open("orvane.ini").value("ShowStyle").toString(), next);
    }
}

TEST_F(StoredSettings, UnwritableSettingsGiveNoStyle) {
    std::filesystem::create_directories(dir / "blocked.ini");
    QSettings settings = Open("blocked.ini");
    EXPECT_EQ(ov::AdvanceShowStyle(settings), std::nullopt);
}

TEST_F(StoredSettings, FolderLettersRoundTrip) {
    QSettings settings = Open("orvane.ini");
    EXPECT_EQ(ov::ReadFolderLetters(settings).newFolder, "");
    ASSERT_TRUE(ov::WriteFolderLetters(settings, {"K", "C"}));
    QSettings again = Open("orvane.ini");
    const auto letters = ov::ReadFolderLetters(again);
    EXPECT_EQ(letters.newFolder, "K");
    EXPECT_EQ(letters.oldFolder, "C");
}

}  // namespace
