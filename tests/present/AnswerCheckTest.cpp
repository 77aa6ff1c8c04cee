#include "BoxFixture.h"

#include "core/GbkText.h"
#include "present/AnswerEdit.h"
#include "present/AnswerCheck.h"
#include "present/SentenceWord.h"
#include "present/SpellingFeedback.h"

#include <QLabel>
#include <QTest>

namespace {

TEST(AnswerMatches, AsciiLettersIgnoreCaseAndNothingElseIsForgiven) {
    struct Case {
        const char* typed;
        const char* answer;
        bool matches;
    };
    const Case cases[] = {
        {"elephant", "elephant", true}, {"Elephant", "eLEPHANT", true}, {"", "", true},
        {"elefant", "elephant", false}, {" elephant", "elephant", false}, {"elephant.", "elephant", false},
        {"Ärger", "ärger", false},      {"你好", "你好", true},          {"I'm", "i'M", true},
    };
    for (const Case& c : cases) EXPECT_EQ(ov::AnswerMatches(c.typed, c.answer), c.matches) << c.typed << " / " << c.answer;
}

using boxtest::BoxTest;
using lessontest::LessonXml;

// A dictation item answered in edit `editId`, its mark being picture `markId`.
std::string DictationItem(int id, int editId, int markId, const std::string& answer) {
    return "<item Id=\"" + std::to_string(id) + "\" SentencesId=\"0\"><test TestStyle=\"1\" ControlStyle=\"4\" ControlId=\"" +
           std::to_string(editId) + "\" ImageId=\"" + std::to_string(markId) + "\" Answer=\"" + answer + "\"/></item>";
}

class Exercises : public BoxTest {
protected:
    // Edits 1.. with the given answers; edit i's mark is picture 100 + i,
    // invisible unless listed in `visibleMarks`.
    void OpenDictation(const std::vector<std::string>& answers, std::vector<int> visibleMarks = {}) {
        WritePicture("right.jpg", boxtest::kPlain);
        std::string edits, marks, items;
        for (int i = 1; i <= static_cast<int>(answers.size()); ++i) {
            const bool visible = std::find(visibleMarks.begin(), visibleMarks.end(), i) != visibleMarks.end();
            edits += boxtest::Edit(i, 100 * i);
            marks += boxtest::Picture(100 + i, "right.jpg", "", -1, 100 * i, visible ? "True" : "False");
            items += DictationItem(i - 1, i, 100 + i, answers[i - 1]);
        }
        // Lessons are GBK, so the answers are too.
        Open(*ov::Utf8ToGbk(LessonXml({{"alli", marks}, {"alledit", edits}, {"WordFollowWrites", items}})),
             ov::rWordFollowWrite);
        ASSERT_TRUE(box->Active());
    }
    ov::TAnswerEdit* EditNo(int index) { return Control<ov::TAnswerEdit>(ov::ikEdit, index); }
    int OverlaysOf(ov::TItemKind kind) {
        return static_cast<int>(std::count_if(box->Overlays().begin(), box->Overlays().end(),
                                              [&](const ov::TBoxItem& item) { return item.Kind == kind; }));
    }
};

TEST_F(Exercises, StatisticsCountRightAndWrongAndMarkTheRightOnes) {
    OpenDictation({"apple", "pear", "plum", "fig", "kiwi"});
    const char* typed[] = {"apple", "pear", "plum", "fog", ""};
    for (int i = 0; i < 5; ++i) EditNo(i)->setText(typed[i]);
    const auto statistics = ov::ShowStatistics(*box, ov::rWordFollowWrite);
    ASSERT_TRUE(statistics);
    EXPECT_EQ(statistics->Count.Right, 3);
    EXPECT_EQ(statistics->Count.Total, 5);
    // The wrong answers as the pupil typed them, for the learning record.
    ASSERT_EQ(statistics->Wrong.size(), 2u);
    EXPECT_EQ(statistics->Wrong[0].Typed, "fog");
    EXPECT_EQ(statistics->Wrong[0].Expected, "fig");
    EXPECT_EQ(statistics->Wrong[1].Typed, "");
    EXPECT_EQ(statistics->Wrong[1].Expected, "kiwi");
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "统计提示");
    EXPECT_EQ(messages[0].text, "答对个数:3 答错个数:2");
    EXPECT_EQ(OverlaysOf(ov::ikPicture), 3);
    EXPECT_EQ(box->Overlays()[0].Control->geometry(), QRect(100, 10, 16, 16));
    // Checking again starts from a clean page.
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    EXPECT_EQ(OverlaysOf(ov::ikPicture), 3);
}

TEST_F(Exercises, AnswersIgnoreTheCaseOfAsciiLettersOnly) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Apple", "apple"}, {"apple ", "apple"}, {"", ""}, {"ＡＢ", "ａｂ"}, {"苹果", "苹果"}, {"a-b", "A-B"},
    };
    std::vector<std::string> answers;
    for (const auto& c : cases) answers.push_back(c.second);
    OpenDictation(answers);
    for (size_t i = 0; i < cases.size(); ++i) EditNo(static_cast<int>(i))->setText(QString::fromStdString(cases[i].first));
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:4 答错个数:2");
    std::vector<int> marked;
    for (const ov::TBoxItem& item : box->Overlays())
        if (item.Kind == ov::ikPicture) marked.push_back(static_cast<ov::TPictureItem*>(item.Control)->Record().Id - 100);
    EXPECT_EQ(marked, (std::vector<int>{1, 3, 5, 6}));
}

TEST_F(Exercises, AVisibleMarkIsNeverAdded) {
    OpenDictation({"apple", "pear"}, {2});
    EditNo(0)->setText("apple");
    EditNo(1)->setText("pear");
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:2 答错个数:0");
    ASSERT_EQ(box->Overlays().size(), 1);
    EXPECT_EQ(static_cast<ov::TPictureItem*>(box->Overlays()[0].Control)->Record().Id, 101);
}

// The lines that explain wrong answers, in page order.
QList<ov::SpellingFeedback*> Feedback(ov::PageView& box) {
    QList<ov::SpellingFeedback*> lines;
    for (const ov::TBoxItem& item : box.Overlays())
        if (auto* line = qobject_cast<ov::SpellingFeedback*>(item.Control)) lines.append(line);
    return lines;
}

TEST_F(Exercises, WrongAnswersAreExplainedLetterByLetterUnderTheirEdits) {
    OpenDictation({"apple", "pear", "plum", "fig", "kiwi"});
    const char* typed[] = {"apple", "PEAR", "plum", "fogg", ""};
    for (int i = 0; i < 5; ++i) EditNo(i)->setText(typed[i]);
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:3 答错个数:2");
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    ov::TakeRecordedMessages();

    const QList<ov::SpellingFeedback*> lines = Feedback(*box);
    ASSERT_EQ(lines.size(), 2) << "one line per wrong answer, not doubled by a second count";
    const QString red = "<span style=\"color:#ff0000;%1\">%2</span>";
    const QString missing = "<span style=\"color:#8c8c8c;\">_</span>";
    struct Expected {
        int edit;
        QString text, name;
    } expected[] = {
        {3, "f" + red.arg("", "o") + "g" + red.arg(" text-decoration:line-through;", "g"), "你的答案 fogg，正确答案 fig"},
        {4, missing.repeated(4), "你的答案 ，正确答案 kiwi"},
    };
    for (int i = 0; i < 2; ++i) {
        const Expected& e = expected[i];
        ov::TAnswerEdit* edit = EditNo(e.edit);
        EXPECT_EQ(lines[i]->Edit(), edit);
        EXPECT_EQ(lines[i]->text(), e.text);
        EXPECT_EQ(lines[i]->accessibleName(), e.name);
        EXPECT_EQ(lines[i]->pos(), QPoint(edit->x(), edit->y() + edit->height())) << "right under its edit";
        EXPECT_TRUE(lines[i]->isVisibleTo(box.get()));
        EXPECT_TRUE(box->Page()->rect().contains(lines[i]->geometry())) << "within the page, not cut off";
    }

    // The answers complete the explanation; they do not replace it.
    ov::ShowAnswers(*box);
    EXPECT_EQ(Feedback(*box).size(), 2);
    ov::ClearOverlays(*box);
    EXPECT_TRUE(box->Overlays().isEmpty());
}

TEST_F(Exercises, AnExplanationGoesWhenItsEditChanges) {
    OpenDictation({"pear", "fig"});
    EditNo(0)->setText("paer");
    EditNo(1)->setText("fog");
    ov::ShowStatistics(*box, ov::rWordFollowWrite);
    ov::TakeRecordedMessages();
    ASSERT_EQ(Feedback(*box).size(), 2);
    EditNo(0)->setFocus();
    QTest::keyClick(EditNo(0), Qt::Key_Backspace);
    ASSERT_EQ(Feedback(*box).size(), 1);
    EXPECT_EQ(Feedback(*box)[0]->Edit(), EditNo(1));
    // Starting over empties every edit, and every explanation goes with it.
    ov::ResetAnswers(*box);
    EXPECT_TRUE(Feedback(*box).isEmpty());
}

// On a choice page a picked picture's word needs no letters explained; a
// typed answer does.
TEST_F(Exercises, OnAChoicePageOnlyTypedAnswersAreExplained) {
    WriteMarks();
    for (const char* name : {"apple.jpg", "pear.jpg", "plum.jpg", "fig.jpg"}) WritePicture(name, boxtest::kPlain);
    const auto item = [](int id, int edit, const char* answer) {
        return "<item Id=\"" + std::to_string(id) + "\" SentencesId=\"0\"><test TestStyle=\"3\" ControlStyle=\"4\" "
               "ControlId=\"" + std::to_string(edit) + "\" ImageId=\"0\" Answer=\"" + answer + "\"/></item>";
    };
    Open(LessonXml({{"alli", boxtest::Picture(1, "apple.jpg", "apple", 0, 0) + boxtest::Picture(2, "pear.jpg", "pear", 0, 20) +
                                 boxtest::Picture(3, "plum.jpg", "plum", 1, 40) + boxtest::Picture(4, "fig.jpg", "fig", 1, 60)},
                    {"alledit", boxtest::Edit(6, 100) + boxtest::Edit(7, 200) + boxtest::Edit(8, 300)},
                    {"Discerns", item(0, 6, "pear") + item(1, 7, "fig") + item(2, 8, "kiwi")}}),
         ov::rDiscern);
    ASSERT_TRUE(box->Active());
    QTest::mouseClick(PictureWithId(1), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(EditNo(0)->text(), "apple");
    EditNo(1)->setFocus();
    QTest::keyClicks(EditNo(1), "fog");
    ov::ShowStatistics(*box, ov::rDiscern);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:0 答错个数:3");
    const QList<ov::SpellingFeedback*> lines = Feedback(*box);
    ASSERT_EQ(lines.size(), 1) << "neither the picked picture's word nor the untouched edit";
    EXPECT_EQ(lines[0]->Edit(), EditNo(1));
}

TEST_F(Exercises, TabGoesThroughTheAnswersRowByRow) {
    // Made column by column, as a page of two columns often is.
    const auto edit = [](int id, int top, int left) {
        return "<edit Id=\"" + std::to_string(id) + "\" Top=\"" + std::to_string(top) + "\" Left=\"" +
               std::to_string(left) + "\" Caption=\"\" RuleId=\"0\" Width=\"80\"/>";
    };
    Open(LessonXml({{"alledit", edit(1, 10, 10) + edit(2, 60, 10) + edit(3, 110, 10) + edit(4, 10, 300) +
                                    edit(5, 60, 300) + edit(6, 110, 300)}}),
         ov::rWordFollowWrite);
    ASSERT_TRUE(box->Active());
    // From the page into its answers, every one once.
    std::vector<int> order;
    for (QWidget* widget = box->nextInFocusChain(); widget != box.get() && order.size() < 7;
         widget = widget->nextInFocusChain()) {
        if (auto* answer = qobject_cast<ov::TAnswerEdit*>(widget)) order.push_back(answer->Id());
    }
    EXPECT_EQ(order, (std::vector<int>{1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(EditNo(3)->accessibleName(), "答案 4") << "names keep the page's numbering";
}

TEST_F(Exercises, StandardAnswersStandAboveEveryEditOnceWithoutAMessage) {
    OpenDictation({"apple", "pear", "plum"});
    EditNo(0)->setText("apple");
    ov::ShowAnswers(*box);
    ov::ShowAnswers(*box);
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
    ASSERT_EQ(box->Overlays().size(), 3);
    const char* answers[] = {"apple", "pear", "plum"};
    for (int i = 0; i < 3; ++i) {
        auto* label = qobject_cast<QLabel*>(box->Overlays()[i].Control);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString("标准答案: ") + answers[i]);
        EXPECT_EQ(label->x(), EditNo(i)->x());
        EXPECT_EQ(label->y() + label->height(), EditNo(i)->y());
        EXPECT_EQ(EditNo(i)->toolTip(), label->text());
    }
    ov::HideAnswerHints(*box);
    EXPECT_TRUE(EditNo(0)->toolTip().isEmpty());
    ov::ClearOverlays(*box);
    EXPECT_TRUE(box->Overlays().isEmpty());
}

TEST_F(Exercises, StepItemTellsFirstLastOnlyAndOther) {
    OpenDictation({"a", "b", "c"});
    struct Step {
        int direction;
        int code;
        int current;
    };
    // From item 0: next to 1 (other), next to 2 (last), beyond it (other, stays),
    // back to 1, back to 0 (first).
    const Step steps[] = {{2, ov::kStepOther, 1}, {2, ov::kStepLast, 2}, {2, ov::kStepOther, 2},
                          {1, ov::kStepOther, 1}, {1, ov::kStepFirst, 0}};
    box->SetCurrentItem(0);
    for (const Step& s : steps) {
        EXPECT_EQ(ov::StepItem(*box, ov::rWordFollowWrite, s.direction), s.code);
        EXPECT_EQ(box->CurrentItem(), s.current);
    }
    EXPECT_EQ(ov::StepItem(*box, ov::rGames, 2), ov::kStepOther);
    ov::TakeRecordedMessages();
}

TEST_F(Exercises, StepItemOnASingleItemSaysOnly) {
    OpenDictation({"a", "b"});
    box->SetCurrentItem(0);
    EXPECT_EQ(ov::StepItem(*box, ov::rWordFollowWrite, 2), ov::kStepLast);
    // Back from nowhere to the one item there is: first and last coincide.
    box->SetActive(false);
    OpenDictation({"a"});
    box->SetCurrentItem(-1);
    EXPECT_EQ(ov::StepItem(*box, ov::rWordFollowWrite, 1), ov::kStepOnly);
    EXPECT_EQ(box->CurrentItem(), 0);
    ov::TakeRecordedMessages();
}

TEST_F(Exercises, GotoItemFocusesTheItemsEditAndResetClearsAnswers) {
    OpenDictation({"a", "b"});
    EditNo(0)->setText("x");
    box->window()->show();
    ov::GotoItem(*box, ov::rWordFollowWrite, true, 1);
    EXPECT_EQ(box->CurrentItem(), 1);
    EXPECT_TRUE(EditNo(0)->text().isEmpty());
    EXPECT_EQ(EditNo(1)->Color(), ov::TAnswerEdit::kLeft);
    ov::TakeRecordedMessages();
}

// Words "I" (Id 0), "like" (1), "apples" (2) of sentence 4; answer "021".
class Arrangement : public BoxTest {
protected:
    void OpenArrangement(const std::string& answer, const std::vector<std::string>& texts) {
        WritePicture("good.jpg", boxtest::kPlain);
        std::string words;
        for (size_t i = 0; i < texts.size(); ++i) words += boxtest::Word(static_cast<int>(i), 100 * static_cast<int>(i), texts[i], true);
        Open(LessonXml({{"alls", boxtest::Sentence(4, words)},
                        {"alli", boxtest::Picture(30, "good.jpg", "", -1, 0, "False")},
                        {"ArrangeWords", "<arrangement Id=\"0\" SentencesId=\"4\"><answer Answer=\"" + answer +
                                             "\" ImageId=\"30\"/></arrangement>"}}),
             ov::rArrangeWord);
        ASSERT_TRUE(box->Active());
    }
    void Place(const std::vector<int>& lefts) {
        for (size_t i = 0; i < lefts.size(); ++i) {
            auto* word = Control<ov::SentenceWord>(ov::ikWord, static_cast<int>(i));
            word->move(lefts[i], word->y());
        }
    }
    bool Right() {
        ov::TakeRecordedMessages();
        return ov::CheckSentenceOrder(*box, 0, ov::rArrangeWord);
    }
};

TEST_F(Arrangement, TheOrderOnThePageIsComparedAsComposedText) {
    OpenArrangement("021", {"I", "like", "apples"});
    Place({0, 200, 100});
    EXPECT_EQ(ov::CurrentWordOrder(*box, {"0", "1", "2"}, 4), (std::vector<std::string>{"0", "2", "1"}));
    EXPECT_TRUE(Right());
    Place({0, 100, 200});
    EXPECT_FALSE(Right());
    ov::ShowStatistics(*box, ov::rArrangeWord);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:0 答错个数:1");
}

TEST_F(Arrangement, WordsSpeltAlikeMayChangePlaces) {
    OpenArrangement("012", {"la", "di", "la"});
    Place({200, 100, 0});
    EXPECT_TRUE(Right());
    ov::ShowStatistics(*box, ov::rArrangeWord);
    EXPECT_EQ(ov::TakeRecordedMessages().at(0).text, "答对个数:1 答错个数:0");
    EXPECT_EQ(box->Overlays().size(), 1);
}

// A test page with two answer edits, the arrangement of "I like apples"
// (answer "021") and a heading that does not move.
class ArrangementOnATestPage : public Arrangement {
protected:
    void SetUp() override {
        Arrangement::SetUp();
        WritePicture("good.jpg", boxtest::kPlain);
        WritePicture("right.jpg", boxtest::kPlain);
        const auto item = [](int id, int edit, const char* answer) {
            return "<item Id=\"" + std::to_string(id) + "\" SentencesId=\"0\"><test TestStyle=\"1\" ControlStyle=\"4\" "
                   "ControlId=\"" + std::to_string(edit) + "\" ImageId=\"10" + std::to_string(edit) + "\" Answer=\"" +
                   answer + "\"/></item>";
        };
        const std::string words = boxtest::Word(0, 0, "I", true, 200) + boxtest::Word(1, 100, "like", true, 200) +
                                  boxtest::Word(2, 200, "apples", true, 200);
        Open(LessonXml({{"alls", boxtest::Sentence(4, words) + boxtest::Sentence(5, boxtest::Word(0, 50, "Test", false, 5))},
                        {"alli", boxtest::Picture(30, "good.jpg", "", -1, 300, "False") +
                                     boxtest::Picture(101, "right.jpg", "", -1, 100, "False") +
                                     boxtest::Picture(102, "right.jpg", "", -1, 200, "False")},
                        {"alledit", boxtest::Edit(1, 0) + boxtest::Edit(2, 120)},
                        {"Tests", item(0, 1, "cat") + item(1, 2, "dog")},
                        {"ArrangeWords", "<arrangement Id=\"0\" SentencesId=\"4\"><answer Answer=\"021\" ImageId=\"30\"/></arrangement>"}}),
             ov::rTest);
        ASSERT_TRUE(box->Active());
    }
    ov::SentenceWord* WordNo(int index) { return Control<ov::SentenceWord>(ov::ikWord, index); }
    std::vector<int> Marks() {
        std::vector<int> marks;
        for (const ov::TBoxItem& item : box->Overlays())
            if (item.Kind == ov::ikPicture) marks.push_back(static_cast<ov::TPictureItem*>(item.Control)->Record().Id);
        return marks;
    }
};

TEST_F(ArrangementOnATestPage, CountsAndMarksTheEditsAndTheArrangementTogether) {
    Control<ov::TAnswerEdit>(ov::ikEdit, 0)->setText("cat");
    Control<ov::TAnswerEdit>(ov::ikEdit, 1)->setText("dgo");
    const QPoint heading = WordNo(3)->pos();
    struct Case {
        std::vector<int> lefts;
        const char* counts;
        std::vector<int> marks;
    } cases[] = {
        {{0, 100, 200}, "答对个数:1 答错个数:2", {101}},
        {{0, 200, 100}, "答对个数:2 答错个数:1", {101, 30}},
    };
    for (const Case& c : cases) {
        Place(c.lefts);
        ov::ShowStatistics(*box, ov::rTest);
        const auto messages = ov::TakeRecordedMessages();
        ASSERT_EQ(messages.size(), 1u) << "one message for both";
        EXPECT_EQ(messages[0].text, c.counts);
        EXPECT_EQ(Marks(), c.marks);
        EXPECT_EQ(WordNo(3)->pos(), heading) << "the heading cannot move and does not";
    }

    ov::ShowAnswers(*box);
    ov::ShowAnswers(*box);
    QStringList labels;
    for (const ov::TBoxItem& item : box->Overlays())
        if (auto* label = qobject_cast<QLabel*>(item.Control); item.Kind == ov::ikWord && !qobject_cast<ov::SpellingFeedback*>(label))
            labels.append(label->text());
    EXPECT_EQ(labels, (QStringList{"标准答案: cat", "标准答案: dog", "I apples like "}));
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

TEST_F(Arrangement, AnUpperCaseDigitIsNoAnswer) {
    OpenArrangement("01A", {"I", "like", "apples"});
    ov::TakeRecordedMessages();
    EXPECT_FALSE(ov::CheckSentenceOrder(*box, 0, ov::rArrangeWord));
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "未找到资源文件");
}

}  // namespace
