#include "BoxFixture.h"

#include "core/GbkText.h"
#include "present/AnswerEdit.h"
#include "present/VideoPanel.h"
#include "present/MovieControl.h"
#include "present/VideoDisplay.h"

#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;
using boxtest::BoxTest;

// The demo lesson's page of every item kind, with the media the build made,
// opened the way the player will open it.
TEST_F(BoxTest, DemoPageShowsEveryItemKind) {
    const fs::path media = fs::path(OV_DEMO_MEDIA) / "Unit1 Hello" / "Class";
    ASSERT_TRUE(fs::exists(media / "scene.jpg"));
    fs::copy(media, dir.path(), fs::copy_options::recursive);
    const auto page =
        ov::Utf8ToGbk(ovtest::ReadFile(fs::path(OV_DEMO_SOURCE) / "lessons/Unit1 Hello/Class/page2.ov.xml"));
    ASSERT_TRUE(page);
    Open(*page);
    ASSERT_TRUE(box->Active());
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());

    std::set<ov::TItemKind> kinds;
    for (const ov::TBoxItem& item : box->PageItems()) kinds.insert(item.Kind);
    EXPECT_EQ(kinds.size(), 7u);
    EXPECT_FALSE(PictureWithId(1)->Picture().isNull());
    EXPECT_EQ(Control<QPushButton>(ov::ikButton)->text(), "听一听");
    EXPECT_EQ(dynamic_cast<ov::TMovieControl*>(Control<QWidget>(ov::ikMovie))->Movie(),
              QString::fromStdString((dir / "Flash/song.swf").string()));

    QTest::mouseClick(PictureWithId(4), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(Control<ov::TAnswerEdit>(ov::ikEdit, 0)->text(), "apple");

    auto* video = Control<ov::VideoPanel>(ov::ikVideo);
    ASSERT_NE(video, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(video->Display()->HasFrame(), 15000);
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

// Every page the demo lessons' sources make opens the way the player opens
// it: nothing shown to the pupil, every picture drawn.
TEST_F(BoxTest, EveryDemoLessonPageOpens) {
    int pages = 0;
    for (const auto& lesson : fs::directory_iterator(OV_DEMO_MEDIA)) {
        const fs::path media = lesson.path() / "Class";
        fs::copy(media, dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        for (const auto& file : fs::directory_iterator(media)) {
            const std::string name = file.path().filename().string();
            if (!name.ends_with(".ov.xml")) continue;
            SCOPED_TRACE(file.path().string());
            const auto page = ov::Utf8ToGbk(ovtest::ReadFile(file.path()));
            ASSERT_TRUE(page);
            box->SetActive(false);
            Open(*page);
            ASSERT_TRUE(box->Active());
            EXPECT_TRUE(ov::TakeRecordedMessages().empty());
            for (const ov::TBoxItem& item : box->PageItems()) {
                if (auto* picture = qobject_cast<ov::TPictureItem*>(item.Control)) {
                    EXPECT_FALSE(picture->Picture().isNull()) << picture->Record().Name;
                }
            }
            ++pages;
        }
    }
    EXPECT_GE(pages, 4 * 11);
}

}  // namespace
