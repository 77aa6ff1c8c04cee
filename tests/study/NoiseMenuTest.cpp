#include "study/NoiseMenu.h"

#include "present/PageView.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions()) captions << item->text();
    return captions;
}

TEST(NoiseMenu, ListsFilesByNameAfterTheNoSoundItem) {
    ovtest::TestApp();
    ovtest::TempDir noises;
    for (const char* name : {"street.wav", "rain.wav", "birds.mp3", "plain"}) ovtest::WriteFile(noises / name, "RIFF");
    fs::create_directory(noises / "folder.wav");
    const fs::path before = fs::current_path();

    QMenu menu;
    ov::BuildNoiseMenu(noises.path(), menu);

    EXPECT_EQ(Captions(menu), (QStringList{"无场景音", "birds", "plain", "rain", "street"}));
    EXPECT_EQ(menu.actions()[1]->data().toString().toStdString(), (noises / "birds.mp3").string());
    EXPECT_EQ(fs::current_path(), before);
}

TEST(NoiseMenu, EmptyOrMissingFolderGivesAnEmptyMenu) {
    ovtest::TestApp();
    ovtest::TempDir noises;
    QMenu menu;
    ov::BuildNoiseMenu(noises.path(), menu);
    ov::BuildNoiseMenu(noises / "missing", menu);
    EXPECT_TRUE(menu.actions().isEmpty());
}

TEST(NoiseMenu, ChoiceNamesTheWaveFileOrElseTheListedOne) {
    ovtest::TestApp();
    ovtest::TempDir noises;
    ovtest::WriteFile(noises / "rain.wav", "not a sound");
    ovtest::WriteFile(noises / "birds.mp3", "not a sound");
    ov::PageView box(nullptr);
    const QString listedBirds = QString::fromStdString((noises / "birds.mp3").string());

    ov::NoiseMenuClick(box, noises.path(), "rain", QString());
    EXPECT_EQ(box.NoiseName().toStdString(), (noises / "rain.wav").string());
    ov::NoiseMenuClick(box, noises.path(), "birds", listedBirds);
    EXPECT_EQ(box.NoiseName(), listedBirds);
    ov::NoiseMenuClick(box, noises.path(), "rain(heavy)", QString());
    EXPECT_EQ(box.NoiseName().toStdString(), (noises / "rain.wav").string());
    ov::NoiseMenuClick(box, noises.path(), "无场景音", QString());
    EXPECT_TRUE(box.NoiseName().isEmpty());
}

TEST(NoiseMenu, SpinnerValues) {
    EXPECT_EQ(ov::NoiseValueFor(-50), 0);
    EXPECT_EQ(ov::NoiseValueFor(0), 500);
    EXPECT_EQ(ov::NoiseValueFor(50), 1000);
    EXPECT_EQ(ov::SoundSpeedFor(30), 130);
    EXPECT_EQ(ov::SoundSpeedFor(-30), 70);
}

}  // namespace
