#include "present/LessonPanel.h"

#include "present/PageView.h"
#include "present/PictureStrip.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class LessonPanelTest : public testing::Test {
protected:
    void SetUp() override { ovtest::TestApp(); }

    std::unique_ptr<ov::LessonPanel> Panel(int screenWidth = 1280) {
        return std::make_unique<ov::LessonPanel>(home.path(), screenWidth, ov::SdlWaveInputDriver());
    }

    void WritePicture(const std::string& name) {
        std::filesystem::create_directories(home / "Images");
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(QString::fromStdString((home / "Images" / name).string()), "BMP"));
    }

    ovtest::TempDir home;
};

TEST_F(LessonPanelTest, ChildrenInConstructionOrderWithTheirNames) {
    auto panel = Panel();
    QStringList order;
    for (QObject* child : panel->children())
        if (child->isWidgetType()) order << child->objectName();
    EXPECT_EQ(order, QStringList({"BottomBar", "BottomImagePanel", "InfoPanel", "TopStrip", "LeftBorder",
                                  "RightBorder", "Box"}));
    const char* onBottomBar[] = {"Separator", "NavPanel", "firstBtn", "pirorBtn", "NextBtn", "LastBtn", "labPage",
                                 "SoundPanel", "NoiseButton", "VolumeLabel", "VolumeSpinner", "SpeedLabel",
                                 "SpeedSpinner"};
    for (const char* name : onBottomBar) EXPECT_NE(panel->BottomBar->findChild<QWidget*>(name), nullptr) << name;

    struct Button {
        QPushButton* button;
        QString caption, hint;
    };
    const Button buttons[] = {{panel->firstBtn, "<<", "首页"},
                              {panel->pirorBtn, "<", "前一页"},
                              {panel->NextBtn, ">", "后一页"},
                              {panel->LastBtn, ">>", "尾页"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->toolTip(), b.hint);
        EXPECT_EQ(b.button->accessibleDescription(), b.hint);
        EXPECT_EQ(b.button->size(), QSize(40, 24));
        EXPECT_TRUE(b.button->isHidden());
    }
    EXPECT_TRUE(panel->labPage->text().isEmpty());
    EXPECT_EQ(panel->NoiseButton->text(), "场景音");
    EXPECT_EQ(panel->VolumeLabel->text(), "场景音量");
    EXPECT_EQ(panel->SpeedLabel->text(), "语速  ");
    EXPECT_EQ(panel->VolumeSpinner->minimum(), -50);
    EXPECT_EQ(panel->VolumeSpinner->maximum(), 50);
    EXPECT_EQ(panel->VolumeSpinner->singleStep(), 10);
    EXPECT_EQ(panel->SpeedSpinner->minimum(), -30);
    EXPECT_EQ(panel->SpeedSpinner->singleStep(), 5);
    EXPECT_EQ(panel->VolumeSpinner->accessibleName(), "场景音量");
    EXPECT_EQ(panel->MainSoundSpeed(), 100);
    EXPECT_EQ(panel->Box->InfoPanel(), panel->InfoPanel);
}

TEST_F(LessonPanelTest, ResizeWithAnOddWidthCentresDisplaysThatFit) {
    auto panel = Panel();
    panel->resize(1001, 600);
    panel->PanelResize();
    EXPECT_EQ(panel->BottomBar->geometry(), QRect(0, 568, 1001, 32));
    EXPECT_EQ(panel->NavPanel->width(), 500);
    EXPECT_EQ(panel->SoundPanel->width(), 500);
    EXPECT_EQ(panel->InfoPanel->geometry(), QRect(0, 0, 1001, 40));
    EXPECT_EQ(panel->TopStrip->geometry(), QRect(0, 40, 1001, 10));
    EXPECT_EQ(panel->BottomImagePanel->geometry(), QRect(0, 548, 1001, 20));
    EXPECT_EQ(panel->LeftBorder->width(), 40);
    EXPECT_EQ(panel->RightBorder->geometry(), QRect(981, 50, 20, 498));
    EXPECT_EQ(panel->Box->geometry(), QRect(40, 50, 941, 498));
    // Displays of (1001 - 60) div 2 = 470 each leave 941 - 940 = 1 px: gaps of 0.
    EXPECT_EQ(panel->InfoPanel->Sound->geometry(), QRect(0, 0, 470, 40));
    EXPECT_EQ(panel->InfoPanel->Recorder->geometry(), QRect(470, 0, 470, 40));

    // Showing the panel delivers the postponed resize events; the places stay.
    panel->show();
    EXPECT_EQ(panel->InfoPanel->Sound->x(), 0);
    EXPECT_EQ(panel->InfoPanel->Recorder->x(), 470);
}

// The bar is drawn like the rest of the window: its face and size, controls
// 4 px inside the bar, 4 px between a label and its spinner (or between the
// page buttons), 16 px between controls that do not belong together.
TEST_F(LessonPanelTest, TheBottomBarUsesTheWindowsFaceAndSpacing) {
    auto panel = Panel();
    panel->resize(1280, 700);
    for (QPushButton* button : {panel->firstBtn, panel->pirorBtn, panel->NextBtn, panel->LastBtn}) button->show();
    panel->labPage->setText(QStringLiteral("第1页/共2页"));
    panel->show();
    const std::pair<QWidget*, std::vector<std::pair<QWidget*, int>>> rows[] = {
        {panel->NavPanel, {{panel->firstBtn, 20}, {panel->pirorBtn, 4}, {panel->NextBtn, 4}, {panel->LastBtn, 4},
                           {panel->labPage, 16}}},
        {panel->SoundPanel, {{panel->NoiseButton, 20}, {panel->VolumeLabel, 16}, {panel->VolumeSpinner, 4},
                             {panel->SpeedLabel, 16}, {panel->SpeedSpinner, 4}}},
    };
    for (const auto& [row, controls] : rows) {
        int right = 0;
        for (const auto& [control, gap] : controls) {
            const std::string name = control->objectName().toStdString();
            EXPECT_EQ(control->parentWidget(), row) << name;
            EXPECT_EQ(control->x() - right, gap) << name;
            EXPECT_EQ(control->mapTo(panel->BottomBar, QPoint(0, 0)).y(), 4) << name;
            EXPECT_EQ(control->height(), 24) << name;
            EXPECT_EQ(control->font().family(), QApplication::font().family()) << name;
            EXPECT_EQ(control->font().pointSizeF(), QApplication::font().pointSizeF()) << name;
            right = control->x() + control->width();
        }
    }
    EXPECT_EQ(panel->BottomBar->height(), 32);
}

TEST_F(LessonPanelTest, DisplaysTooWideForTheBoxKeepTheirPlaces) {
    auto panel = Panel();
    panel->resize(1280, 700);
    panel->PanelResize();
    // 610 + 610 is not less than the box's 1220: the info panel's own places stay.
    EXPECT_EQ(panel->Box->width(), 1220);
    EXPECT_EQ(panel->InfoPanel->Sound->geometry(), QRect(20, 0, 610, 40));
    EXPECT_EQ(panel->InfoPanel->Recorder->geometry(), QRect(650, 0, 610, 40));
}

TEST_F(LessonPanelTest, NoLeftBorderOnAnEightHundredPixelScreen) {
    WritePicture("left.bmp");
    auto narrow = Panel(800);
    narrow->resize(800, 500);
    narrow->PanelResize();
    EXPECT_EQ(narrow->LeftBorder->width(), 0);
    EXPECT_TRUE(narrow->LeftBorder->PictureRect().isEmpty());
    EXPECT_EQ(narrow->Box->x(), 0);
    // Three gaps of (780 - 740) div 3 = 13 over the box.
    EXPECT_EQ(narrow->InfoPanel->Sound->x(), 13);
    EXPECT_EQ(narrow->InfoPanel->Recorder->x(), 370 + 26);

    auto wide = Panel(801);
    wide->resize(800, 500);
    wide->PanelResize();
    EXPECT_EQ(wide->LeftBorder->width(), 40);
    EXPECT_EQ(wide->LeftBorder->PictureRect(), QRect(0, 0, 20, wide->LeftBorder->height()));
}

TEST_F(LessonPanelTest, DecorativePicturesAreFoundWhateverTheirCase) {
    WritePicture("Top.bmp");
    WritePicture("RIGHT.BMP");
    auto panel = Panel();
    panel->resize(1000, 600);
    panel->PanelResize();
    EXPECT_TRUE(panel->TopStrip->HasPicture());
    EXPECT_TRUE(panel->RightBorder->HasPicture());
    EXPECT_EQ(panel->RightBorder->PictureRect(), QRect(0, 0, 20, panel->RightBorder->height()));
    EXPECT_FALSE(panel->BottomImagePanel->HasPicture()) << "a missing picture leaves the strip white";
    EXPECT_FALSE(panel->LeftBorder->HasPicture());
}

TEST_F(LessonPanelTest, MainSoundSpeedIgnoresZeroAndBelow) {
    auto panel = Panel();
    const std::pair<int, int> cases[] = {{0, 100}, {-5, 100}, {130, 130}, {0, 130}, {70, 70}};
    for (auto [value, expected] : cases) {
        panel->SetMainSoundSpeed(value);
        EXPECT_EQ(panel->MainSoundSpeed(), expected) << value;
    }
}

TEST_F(LessonPanelTest, CompareRecordingGivesZeroWhenNothingCanBeScored) {
    auto panel = Panel();
    EXPECT_EQ(panel->CompareRecording(), 0.0) << "no samples at all";

    // The same voiced sentence on both sides scores 99.
    std::array<uint8_t, 11> voiced;
    voiced.fill(200);
    std::array<uint8_t, 11> silent;
    silent.fill(132);
    for (auto* display : {static_cast<ov::SoundDisplay*>(panel->InfoPanel->Sound),
                          static_cast<ov::SoundDisplay*>(panel->InfoPanel->Recorder)}) {
        display->AppendSamples(silent);
        for (int tick = 0; tick < 20; ++tick) display->AppendSamples(voiced);
        display->AppendSamples(silent);
    }
    EXPECT_NEAR(panel->CompareRecording(), 99.0, 1e-9);
}

}  // namespace
