#include "BoxFixture.h"

#include "present/AnswerEdit.h"
#include "present/RectShape.h"
#include "present/SentenceWord.h"
#include "support/LogCapture.h"

#include <QApplication>
#include <QPushButton>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;
using ov::TakeRecordedMessages;

TEST_F(BoxTest, PicturesAndFramesLieBehindEverythingElse) {
    WritePicture("back.jpg", boxtest::kPlain);
    Open(LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 12, "over", false, 12))},
                    {"alli", boxtest::Picture(1, "back.jpg", "", -1, 10)},
                    {"allbutton", R"(<button Id="4" Top="5" Left="6" Width="70" Height="20" RuleId="0" Caption="Go"/>)"},
                    {"alledit", boxtest::Edit(7, 30)},
                    {"allShape", R"(<rectangle Id="2" Top="0" Left="0" Height="300" Width="300"/>)"}}));
    ASSERT_TRUE(box->Active());
    QList<ov::TItemKind> kinds;
    for (const ov::TBoxItem& item : box->PageItems()) kinds.append(item.Kind);
    EXPECT_EQ(kinds, (QList<ov::TItemKind>{ov::ikPicture, ov::ikFrame, ov::ikWord, ov::ikButton, ov::ikEdit}));
    // Later siblings are painted over earlier ones.
    const QObjectList stacking = box->Page()->children();
    EXPECT_LT(stacking.indexOf(Control<ov::TRectShape>(ov::ikFrame)), stacking.indexOf(Control<ov::SentenceWord>(ov::ikWord)));
    EXPECT_LT(stacking.indexOf(PictureWithId(1)), stacking.indexOf(Control<ov::SentenceWord>(ov::ikWord)));
    EXPECT_EQ(PictureWithId(1)->geometry(), QRect(10, 10, 16, 16));
    EXPECT_EQ(Shown(PictureWithId(1)), boxtest::kPlain);
    EXPECT_EQ(Control<QPushButton>(ov::ikButton)->text(), "Go");
    EXPECT_EQ(Control<ov::TAnswerEdit>(ov::ikEdit)->Color(), QColor(0xF3, 0xA3, 0xFA));

    box->SetActive(false);
    EXPECT_FALSE(box->Active());
    EXPECT_TRUE(box->PageItems().isEmpty());
    EXPECT_EQ(box->Document(), nullptr);
}

TEST_F(BoxTest, InvisiblePicturesGetNoControlAndMissingOnesAreNamed) {
    WritePicture("shown.jpg", boxtest::kPlain);
    ovtest::WriteFile(dir / "text.jpg", "not a picture");
    ovtest::LogCapture log;
    Open(LessonXml({{"alli", boxtest::Picture(1, "mark.jpg", "", -1, 0, "False") +
                                 boxtest::Picture(2, "shown.jpg", "", -1, 20) +
                                 boxtest::Picture(3, "gone.jpg", "", -1, 40) +
                                 boxtest::Picture(4, "text.jpg", "", -1, 60)}}));
    ASSERT_TRUE(box->Active());
    EXPECT_EQ(PictureWithId(1), nullptr);
    ASSERT_NE(PictureWithId(3), nullptr);
    EXPECT_TRUE(PictureWithId(3)->Picture().isNull());
    EXPECT_EQ(Shown(PictureWithId(2)), boxtest::kPlain);
    // One message for the page, naming the first; the log has the other.
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, "未找到资源，编号 : gone.jpg");
    EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "present", "未找到资源，编号 : text.jpg"));
}

TEST_F(BoxTest, PageControlsHaveNamesAndEditsFollowThePageInTabOrder) {
    Open(LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 10, "Hello", false))},
                    {"alli", boxtest::Picture(1, "a.jpg", "apple", 0, 10) + boxtest::Picture(2, "b.jpg", "", -1, 40)},
                    {"alledit", boxtest::Edit(9, 200) + boxtest::Edit(3, 100) + boxtest::Edit(5, 300)}}));
    TakeRecordedMessages();
    EXPECT_EQ(Control<ov::SentenceWord>(ov::ikWord)->accessibleName(), "Hello");
    EXPECT_EQ(PictureWithId(1)->accessibleName(), "apple");
    EXPECT_EQ(PictureWithId(2)->accessibleName(), "b.jpg");
    auto* first = Control<ov::TAnswerEdit>(ov::ikEdit, 0);
    auto* second = Control<ov::TAnswerEdit>(ov::ikEdit, 1);
    auto* third = Control<ov::TAnswerEdit>(ov::ikEdit, 2);
    EXPECT_EQ(first->accessibleName(), "答案 1");
    EXPECT_EQ(second->accessibleName(), "答案 2");
    EXPECT_EQ(third->accessibleName(), "答案 3");
    // Tab follows their places on one row, left to right, not the order they were made in.
    EXPECT_EQ(second->nextInFocusChain(), first);
    EXPECT_EQ(first->nextInFocusChain(), third);
}

}  // namespace
