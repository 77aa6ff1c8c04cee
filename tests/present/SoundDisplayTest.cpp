#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// A wave block whose word at `column` has both halves at `level`.
ov::WaveBlock BlockWith(int column, int16_t level) {
    ov::WaveBlock block{};
    const auto half = static_cast<uint16_t>(level);
    block[static_cast<size_t>(column)] = (uint32_t{half} << 16) | half;
    return block;
}

// The rows of `column` that are not white.
std::vector<int> DrawnRows(const QImage& image, int column) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(column, y) != kWhite) rows.push_back(y);
    return rows;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class SoundDisplay : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        host = std::make_unique<QWidget>();
        sound = new ov::SoundDisplay(home.path(), host.get());
        sound->resize(1100, 40);
        sound->Render().Resize(1100, 40);
    }

    ovtest::TempDir home;
    std::unique_ptr<QWidget> host;
    ov::SoundDisplay* sound = nullptr;
};

TEST_F(SoundDisplay, OneBarPerTickAtTheColumnOfThePosition) {
    struct Case {
        const char* what;
        int fileMs;
        int positionMs;
        int column;
    };
    // Short files are drawn against 18432 ms, 18 ms a column; 30 s gives 29.
    const Case cases[] = {
        {"3 s, start", 3000, 0, 0},
        {"3 s, end", 3000, 2999, 166},
        {"30 s, middle", 30000, 15000, 517},
        {"30 s, end", 30000, 29999, 1034},
    };
    for (const auto& c : cases) {
        sound->ClearDisplay();
        const int total = ov::ProgressTotalMs(c.fileMs);
        sound->Render().DrawProgress(*sound, total, c.positionMs, BlockWith(c.column, 16000));
        const QImage& display = sound->Render().Display();
        // Loudness 16000 is half the bar height 30: rows 18 - 15 to 18 + 15, the far end left out.
        const auto rows = DrawnRows(display, c.column);
        ASSERT_EQ(rows.size(), 30u) << c.what;
        EXPECT_EQ(rows.front(), 3) << c.what;
        EXPECT_EQ(rows.back(), 32) << c.what;
        EXPECT_EQ(display.pixel(c.column, 3), ov::WaveRender::kRed) << c.what;
        EXPECT_TRUE(DrawnRows(display, c.column + 1).empty()) << c.what;
    }
}

TEST_F(SoundDisplay, BarShapesAndTheirSamples) {
    struct Case {
        int16_t level;
        int firstRow;
        int lastRow;
        uint8_t sample;
    };
    // Silence is the end pixel alone; a negative bar reaches down from its
    // end; the loudest bars are clipped to the 40 rows and their samples wrap.
    const Case cases[] = {
        {0, 18, 18, 132},
        {-16000, 4, 33, 66},
        {-32000, 0, 39, 0},
        {32767, 0, 39, 8},
    };
    for (const auto& c : cases) {
        sound->ClearDisplay();
        const size_t before = sound->Samples().size();
        sound->Render().DrawProgress(*sound, 18432, 0, BlockWith(0, c.level));
        ASSERT_EQ(sound->Samples().size(), before + 11) << c.level;
        EXPECT_EQ(sound->Samples().back(), c.sample) << c.level;
        const auto rows = DrawnRows(sound->Render().Display(), 0);
        ASSERT_FALSE(rows.empty()) << c.level;
        EXPECT_EQ(rows.front(), c.firstRow) << c.level;
        EXPECT_EQ(rows.back(), c.lastRow) << c.level;
        EXPECT_EQ(rows.size(), static_cast<size_t>(c.lastRow - c.firstRow + 1)) << c.level;
    }
}

TEST_F(SoundDisplay, FrozenControlNeitherSamplesNorShows) {
    sound->Freeze();
    sound->Render().DrawProgress(*sound, 18432, 100, BlockWith(5, 8000));
    EXPECT_TRUE(sound->Samples().empty());
    EXPECT_FALSE(sound->Ticking());
    sound->Stop();
    EXPECT_TRUE(sound->TimerEnabled());
}

TEST_F(SoundDisplay, UnchangedPictureIsNotRepainted) {
    host->resize(1100, 40);
    host->show();
    QTest::qWait(20);
    PaintCounter counter;
    sound->installEventFilter(&counter);
    sound->Render().DrawProgress(*sound, 18432, 0, BlockWith(0, 16000));
    QTest::qWait(20);
    EXPECT_EQ(counter.paints, 1);
    for (int tick = 0; tick < 5; ++tick) sound->Render().DrawProgress(*sound, 18432, 0, BlockWith(0, 16000));
    QTest::qWait(20);
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(sound->Samples().size(), 66u) << "every tick still samples";
    sound->removeEventFilter(&counter);
}

TEST_F(SoundDisplay, IdleControlStopsTickingAfterOneLastTick) {
    EXPECT_TRUE(sound->Ticking()) << "the tick runs from creation";
    // A busy machine may run the last tick late; what matters is that it stops.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sound->Ticking(); }, 2000));

    // A file that cannot be played: one tick samples silence, then the control sleeps.
    sound->PlayFile((home / "missing.wav").string());
    EXPECT_EQ(sound->FileName(), (home / "missing.wav").string());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sound->Ticking(); }, 2000));
    EXPECT_EQ(sound->Samples(), std::vector<uint8_t>(11, 132));
    EXPECT_EQ(sound->GetFileDuration(), -1);
}

TEST_F(SoundDisplay, ClearShowsTheMiddleOfTheBackgroundOrWhite) {
    sound->Render().DrawProgress(*sound, 18432, 0, BlockWith(0, 16000));
    sound->ClearDisplay();
    EXPECT_TRUE(DrawnRows(sound->Render().Display(), 0).empty()) << "no BO.bmp: white";

    QImage background(200, 120, QImage::Format_RGB32);
    background.fill(Qt::black);
    background.setPixel(15, 27, qRgb(0, 0, 255));  // the corner of the part that is shown
    std::filesystem::create_directories(home / "images");
    ASSERT_TRUE(background.save(QString::fromStdString((home / "images" / "bo.BMP").string()), "BMP"));
    ov::SoundDisplay withBackground(home.path());
    withBackground.Render().Resize(254, 140);
    withBackground.ClearDisplay();
    const QImage& display = withBackground.Render().Display();
    EXPECT_EQ(display.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(display.pixel(253, 139), qRgb(0, 0, 0));
}

TEST(RecordControl, TicksTakeInTheRecordingWhichThenPlaysBack) {
    ovtest::TestApp();
    ovtest::TempDir home;
    std::filesystem::create_directories(home / "Records");
    ov::RecordDisplay recorder(home.path(), ov::SdlWaveInputDriver());
    recorder.SetRecordFolder((home / "Records").string() + "/");
    QTest::qWait(30);
    ASSERT_FALSE(recorder.Ticking());

    // The silent capture device of the test environment records in real time.
    recorder.StartRecord();
    ASSERT_TRUE(recorder.IsRecording());
    EXPECT_TRUE(recorder.Ticking()) << "an open recording keeps the tick running without a file";
    QTest::qWait(400);
    EXPECT_GE(recorder.Recorder().Input().Chunks().size(), 2u) << "filled buffers are taken in on the tick";

    recorder.StopRecord(true);
    EXPECT_FALSE(recorder.IsRecording());
    ASSERT_TRUE(std::filesystem::exists(recorder.LastFileName()));
    EXPECT_GT(std::filesystem::file_size(recorder.LastFileName()), 44u);
    recorder.PlayFile(recorder.LastFileName());
    EXPECT_EQ(recorder.FileName(), recorder.LastFileName());
    EXPECT_GT(recorder.GetFileDuration(), 0);
}

TEST(InfoPanel, DisplaysShareTheWidthWithFortyPixelsBetween) {
    ovtest::TestApp();
    ovtest::TempDir home;
    ov::SoundInfoPanel panel(home.path(), ov::SdlWaveInputDriver());
    EXPECT_EQ(panel.Recorder->x(), panel.Sound->x() + panel.Sound->width() + 1);
    panel.resize(1001, 40);
    panel.LayOut();
    EXPECT_EQ(panel.Sound->geometry(), QRect(20, 0, 470, 40));
    EXPECT_EQ(panel.Recorder->geometry(), QRect(510, 0, 470, 40));
    EXPECT_EQ(panel.Recorder->Render().Display().size(), QSize(470, 40));
    EXPECT_EQ(panel.Sound->accessibleName(), "原音");
}

}  // namespace
