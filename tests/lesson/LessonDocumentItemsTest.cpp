#include <gtest/gtest.h>

#include "LessonText.h"

namespace {

using lessontest::LessonXml;
using lessontest::TakeMessageCount;
using namespace ov;

class ItemsTest : public lessontest::LessonTest {
protected:
    std::unique_ptr<LessonDocument> page = FixturePage("exercises.xml");
};

TEST_F(ItemsTest, TestsOfAnItem) {
    EXPECT_EQ(page->GetItemTests(1, rWordFollowWrite),
              (std::vector<TTest>{{1, 0, 7, 21, "picture"}, {1, 4, 7, 21, "pear"}}));
    EXPECT_EQ(page->GetItemTests(0, rDiscern).size(), 2u);  // the first item with the Id
    // Any kind but the dictation and discrimination kinds reads sentence dictation.
    for (TOVRule kind : {rSentenceFollowWrite, rArrangeWord, rTest, rTitle})
        EXPECT_EQ(page->GetItemTests(0, kind), (std::vector<TTest>{{2, 4, 8, 21, "I like pears."}})) << int(kind);
    EXPECT_EQ(page->GetTestItemTests(0), (std::vector<TTest>{{5, 4, 11, 21, "C"}}));
    EXPECT_TRUE(page->GetItemTests(9, rWordFollowWrite).empty());
    EXPECT_EQ(TakeMessageCount(), 0u);

    auto broken = Page(LessonXml({{"Tests", R"(<i Id="0"><t TestStyle="1" ControlStyle="260" ControlId="1" ImageId="2" Answer="a"/>)"
                                            R"(<t TestStyle="1" ControlStyle="4" ControlId="1" ImageId="2"/></i>)"}}),
                       "broken.ovb");
    EXPECT_EQ(broken->GetTestItemTests(0), (std::vector<TTest>{{1, 4, 1, 2, "a"}}));  // 260 keeps its low byte
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(ItemsTest, ItemAudioComesFromTheItemsSentence) {
    std::string audio = "old";
    page->GetItemAudio(1, rWordFollowWrite, audio);
    EXPECT_EQ(audio, "pear.mp3");
    page->GetItemAudio(2, rWordFollowWrite, audio);  // its sentence does not exist
    EXPECT_EQ(audio, "");
    page->GetItemAudio(0, rTest, audio);
    EXPECT_EQ(audio, "pear.mp3");
    EXPECT_EQ(TakeMessageCount(), 0u);
    page->GetItemAudio(0, rGames, audio);
    EXPECT_EQ(audio, "");
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(ItemsTest, NeighbourItemsArePositionsOrMinusOne) {
    struct Case {
        int direction;
        int32_t current;
        TOVRule kind;
        int32_t expected;
    };
    const Case cases[] = {
        {1, 0, rWordFollowWrite, -1}, {1, 1, rWordFollowWrite, 0}, {2, 1, rWordFollowWrite, 2},
        {2, 2, rWordFollowWrite, -1}, {1, 9, rWordFollowWrite, 2},
        {2, 9, rWordFollowWrite, -1},  // not n + 1, which would be taken for an item
        {3, 0, rWordFollowWrite, -1}, {2, 0, rGames, 1},           {2, 0, rTest, -1},
        {2, 0, rArrangeWord, -1},     {2, 0, rTitle, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(page->GetNeighbourItem(c.direction, c.current, c.kind), c.expected)
            << c.direction << " " << c.current << " " << int(c.kind);
    EXPECT_EQ(Page(LessonXml(), "empty.ovb")->GetNeighbourItem(2, 0, rTest), -1);
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(ItemsTest, ItemRangeIsLastIdThenFirstIdAndSilent) {
    std::pair<int32_t, int32_t> range{5, 5};
    page->GetItemRange(rWordFollowWrite, range);
    EXPECT_EQ(range, std::make_pair(2, 0));
    page->GetItemRange(rTest, range);
    EXPECT_EQ(range, std::make_pair(0, 0));
    page->GetItemRange(rArrangeWord, range);
    EXPECT_EQ(range, std::make_pair(-1, -1));
    Page(LessonXml(), "empty.ovb")->GetItemRange(rGames, range);
    EXPECT_EQ(range, std::make_pair(-1, -1));
    Page(LessonXml({{"Tests", R"(<i Id="0"/><i/>)"}}), "noid.ovb")->GetItemRange(rTest, range);
    EXPECT_EQ(range, std::make_pair(-1, -1));
    LessonDocument missing(dir.path(), "missing.ovb", false);
    missing.GetItemRange(rTest, range);
    EXPECT_EQ(range, std::make_pair(-1, -1));
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(ItemsTest, AnswersAndMarksComeFromTheLastMatchingTest) {
    std::string answer = "old";
    page->GetEditAnswer(rEdit, 7, answer, rWordFollowWrite);
    EXPECT_EQ(answer, "pear");
    page->GetEditAnswer(rImage, 7, answer, rWordFollowWrite);
    EXPECT_EQ(answer, "picture");
    page->GetEditAnswer(rDiscern, rEdit, answer, 10);
    EXPECT_EQ(answer, "B");
    page->GetEditAnswer(rEdit, 99, answer, rWordFollowWrite);
    EXPECT_EQ(answer, "B");
    EXPECT_EQ(TakeMessageCount(), 0u);
    page->GetEditAnswer(rEdit, 9, answer, rDiscern);  // each variant takes its own kinds
    page->GetEditAnswer(rWordFollowWrite, rEdit, answer, 7);
    EXPECT_EQ(answer, "B");
    EXPECT_EQ(TakeMessageCount(), 2u);

    TXMLImage mark;
    page->GetResultMark(7, rWordFollowWrite, mark);
    EXPECT_EQ(mark.Image.Name, "right2.jpg");
    page->GetResultMark(rDiscern, 9, mark);
    EXPECT_EQ(mark.Image.Name, "right1.jpg");
    EXPECT_EQ(TakeMessageCount(), 0u);
    page->GetResultMark(rSentenceFollowWrite, 8, mark);
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(ItemsTest, EditsAndTheirItems) {
    EXPECT_EQ(page->GetGroupEdit(rDiscern, 0), 10);  // the scan goes on past the first item 0
    EXPECT_EQ(page->GetGroupEdit(rTest, 0), 11);
    EXPECT_EQ(page->GetGroupEdit(rTest, 5), 0);
    EXPECT_EQ(page->GetEditGroup(rWordFollowWrite, 7), 1);  // the later item
    EXPECT_EQ(page->GetEditGroup(rDiscern, 22), -1);       // not an edit test
    EXPECT_EQ(page->GetEditGroup(rTest, 11), 0);
    EXPECT_EQ(TakeMessageCount(), 0u);
    EXPECT_EQ(page->GetGroupEdit(rWordFollowWrite, 0), 0);
    EXPECT_EQ(page->GetEditGroup(rGames, 7), -1);
    EXPECT_EQ(TakeMessageCount(), 2u);
}

TEST_F(ItemsTest, GamesAndItemScripts) {
    TXMLFlash game;
    page->GetGame(1, game);
    EXPECT_EQ(game, (TXMLFlash{1, 5, 6, 7, 8, "match.swf"}));
    TRule rule;
    page->GetRule(rGames, 0, rule);
    EXPECT_EQ(rule, (TRule{rGames, 0, "", "[18,0,0,1]"}));
    page->GetRule(rWordFollowWrite, 2, rule);
    EXPECT_EQ(rule.Text, "[10,2,0,1]");
    EXPECT_EQ(TakeMessageCount(), 0u);
    page->GetRule(rWordFollowWrite, 0, rule);  // an item with tests has no script
    EXPECT_EQ(rule.Text, "[10,2,0,1]");
    EXPECT_EQ(TakeMessageCount(), 1u);
}

}  // namespace
