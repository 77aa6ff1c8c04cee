#include "BoxFixture.h"

#include "present/AnswerEdit.h"

#include <QTest>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;
using ov::TakeRecordedMessages;

// Three marks of group 0 answering edit 7, and one of group 1.
class ChoiceTest : public BoxTest {
protected:
    void OpenChoices() {
        for (const char* name : {"apple.jpg", "pear.jpg", "plum.jpg", "fig.jpg"}) WritePicture(name, boxtest::kPlain);
        Open(LessonXml({{"alli", boxtest::Picture(1, "apple.jpg", "apple", 0, 0) +
                                     boxtest::Picture(2, "pear.jpg", "pear", 0, 20) +
                                     boxtest::Picture(3, "plum.jpg", "plum", 0, 40) +
                                     boxtest::Picture(4, "fig.jpg", "fig", 1, 60)},
                        {"alledit", boxtest::Edit(6, 100) + boxtest::Edit(7, 200)},
                        {"Discerns", boxtest::ChoiceItem(0, 7) + boxtest::ChoiceItem(1, 6)}}));
        ASSERT_TRUE(box->Active());
        edit6 = Control<ov::TAnswerEdit>(ov::ikEdit, 0);
        edit7 = Control<ov::TAnswerEdit>(ov::ikEdit, 1);
    }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(2, 2)); }

    ov::TAnswerEdit* edit6 = nullptr;
    ov::TAnswerEdit* edit7 = nullptr;
};

TEST_F(ChoiceTest, ClickingAMarkSelectsItAndWritesItsWordIntoTheGroupsEdit) {
    WriteMarks();
    OpenChoices();
    Click(PictureWithId(1));
    EXPECT_TRUE(PictureWithId(1)->Record().Selected);
    EXPECT_EQ(Shown(PictureWithId(1)), boxtest::kSelected);
    EXPECT_EQ(edit7->text(), "apple");
    EXPECT_EQ(edit6->text(), "");

    Click(PictureWithId(2));
    EXPECT_FALSE(PictureWithId(1)->Record().Selected);
    EXPECT_EQ(Shown(PictureWithId(1)), boxtest::kNotSelected);
    EXPECT_TRUE(PictureWithId(2)->Record().Selected);
    EXPECT_EQ(edit7->text(), "pear");
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(ChoiceTest, ASecondChoiceUnselectsOnlyTheFirstSelectedMarkOfItsGroup) {
    WriteMarks();
    OpenChoices();
    PictureWithId(1)->Record().Selected = true;
    PictureWithId(2)->Record().Selected = true;
    PictureWithId(4)->Record().Selected = true;
    Click(PictureWithId(3));
    EXPECT_FALSE(PictureWithId(1)->Record().Selected);
    EXPECT_TRUE(PictureWithId(2)->Record().Selected);
    EXPECT_TRUE(PictureWithId(4)->Record().Selected);
    EXPECT_EQ(edit7->text(), "plum");
}

TEST_F(ChoiceTest, TypingAChoicesWordSelectsItsMark) {
    WriteMarks();
    OpenChoices();
    edit7->setFocus();
    QTest::keyClicks(edit7, "pea");
    EXPECT_FALSE(PictureWithId(2)->Record().Selected);
    QTest::keyClicks(edit7, "r");
    EXPECT_TRUE(PictureWithId(2)->Record().Selected);
    EXPECT_EQ(Shown(PictureWithId(2)), boxtest::kSelected);
    EXPECT_EQ(edit7->text(), "pear");
}

TEST_F(ChoiceTest, MissingMarkPicturesAreNamedInTheirOwnForm) {
    OpenChoices();
    Click(PictureWithId(1));
    EXPECT_FALSE(PictureWithId(1)->Record().Selected);
    EXPECT_EQ(edit7->text(), "");
    auto messages = TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, "未找到资源,编号:Selected.jpg");

    WritePicture("Selected.jpg", boxtest::kSelected);
    Click(PictureWithId(1));
    Click(PictureWithId(2));
    EXPECT_FALSE(PictureWithId(1)->Record().Selected);
    messages = TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "未找到资源,编号:NOSelected.jpg");
}

TEST_F(ChoiceTest, EditsChangeColourWhenClickedAndWhenLeft) {
    OpenChoices();
    Click(edit7);
    EXPECT_EQ(edit7->Color(), QColor(0xA6, 0xCA, 0xF0));
    box->EditExit(edit7);
    EXPECT_EQ(edit7->Color(), QColor(0xC5, 0xEC, 0xAA));
}

}  // namespace
