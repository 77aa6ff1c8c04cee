#include "BoxFixture.h"

#include "present/VideoPanel.h"
#include "present/SentenceWord.h"
#include "present/VideoDisplay.h"

#include <QMediaPlayer>
#include <QTest>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;
using ov::TakeRecordedMessages;

TEST_F(BoxTest, VideoPanelLeavesRoomForItsButtonBar) {
    ov::VideoPanel video(nullptr);
    video.Layout(10, 20, 320, 240);
    EXPECT_EQ(video.geometry(), QRect(20, 10, 320, 271));
    EXPECT_EQ(video.Display()->geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(video.ButtonBar()->y(), 241);
    EXPECT_TRUE(video.PlayFile(""));
    EXPECT_TRUE(video.Player()->source().isEmpty());
}

std::string VideoPage(const std::string& movie) {
    return LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 10, "Hello", false, 300))},
                      {"allradio", R"(<video Id="1" Top="11" Left="12" Width="160" Height="120" Movie=")" + movie + R"("/>)"}});
}

// The page stays, the display names the file and the pupil is told once.
void ExpectMended(ov::PageView& box, const char* movie) {
    EXPECT_TRUE(box.Active());
    ASSERT_EQ(box.PageItems().size(), 2);
    auto* video = qobject_cast<ov::VideoPanel*>(box.PageItems()[1].Control);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->Display()->Notice(), movie);
    QTest::qWait(200);
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, std::string("未找到资源，编号 : ") + movie);
}

TEST_F(BoxTest, AMissingVideoLeavesThePageAndNamesTheFile) {
    Open(VideoPage("absent.mp4"));
    ExpectMended(*box, "absent.mp4");
}

TEST_F(BoxTest, AnUnplayableVideoLeavesThePageAndNamesTheFile) {
    ovtest::WriteFile(dir / "broken.mp4", std::string(4096, 'x'));
    Open(VideoPage("broken.mp4"));
    auto* video = qobject_cast<ov::VideoPanel*>(box->PageItems()[1].Control);
    ASSERT_NE(video, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(video->Display()->Notice(), QString("broken.mp4"), 10000);
    ExpectMended(*box, "broken.mp4");
}

}  // namespace
