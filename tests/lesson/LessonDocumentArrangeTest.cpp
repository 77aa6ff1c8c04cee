#include <gtest/gtest.h>

#include "LessonText.h"

namespace {

using lessontest::TakeMessageCount;
using namespace ov;
using Words = std::optional<std::vector<std::string>>;

class ArrangeTest : public lessontest::LessonTest {
protected:
    std::unique_ptr<LessonDocument> page = FixturePage("arrange.xml");
};

TEST_F(ArrangeTest, ArrangementsAndTheirSentences) {
    EXPECT_EQ(page->GetSentenceIds(rArrangeWord), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(page->GetSentenceGroup(rArrangeWord, 1), 5);
    EXPECT_EQ(page->GetSentenceGroup(rArrangeWord, 7), -1);
    EXPECT_EQ(page->GetSentenceWords(0, rArrangeWord), (Words{{"0", "1", "2"}}));
    EXPECT_EQ(page->GetSentenceWords(1, rArrangeWord), (Words{{"0"}}));  // no "CanMove": not movable
    EXPECT_EQ(page->GetSentenceWords(2, rArrangeWord), std::nullopt);    // no such sentence
    EXPECT_EQ(page->GetSentenceWords(7, rArrangeWord), std::nullopt);
    std::string answer = "old";
    page->GetSentenceAnswer(0, rArrangeSentence, answer);
    EXPECT_EQ(answer, "1A");
    TXMLImage mark;
    page->GetSentenceMark(1, rArrangeWord, mark);
    EXPECT_EQ(mark.Image.Name, "good.jpg");
    TXMLFont font{1, "old", 77};
    page->GetAnswerFont(0, rArrangeWord, font);
    EXPECT_EQ(font, (TXMLFont{16, "Verdana", 77}));
    EXPECT_EQ(TakeMessageCount(), 0u);

    EXPECT_TRUE(page->GetSentenceIds(rDiscern).empty());
    page->GetSentenceAnswer(0, rTest, answer);
    EXPECT_EQ(answer, "");
    EXPECT_EQ(TakeMessageCount(), 2u);
}

// Every page is asked whether it holds arrangements, most of them without the
// section: asking must never show the pupil a message.
TEST_F(ArrangeTest, HasArrangementsAsksSilently) {
    EXPECT_TRUE(page->HasArrangements(rArrangeWord));
    EXPECT_TRUE(page->HasArrangements(rArrangeSentence));
    EXPECT_FALSE(page->HasArrangements(rDiscern));
    const auto empty = Page(lessontest::LessonXml({{"ArrangeWords", "<!-- none yet -->"}}), "empty.ovb");
    EXPECT_FALSE(empty->HasArrangements(rArrangeWord));
    const auto bare = Page("<?xml version=\"1.0\"?><OVENG><res/></OVENG>", "bare.ovb");
    EXPECT_FALSE(bare->HasArrangements(rArrangeWord));
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(ArrangeTest, ComposeSentenceJoinsWordsByDecimalIdsSilently) {
    struct Case {
        int32_t arrangement;
        TOVRule kind;
        std::vector<std::string> ids;
        const char* expected;
    };
    const Case cases[] = {
        {0, rArrangeWord, {"1", "0", "2"}, "Ilikeapples"},
        {0, rArrangeWord, {"10", "2"}, ".apples"},
        {0, rArrangeWord, {"1", "7", "0"}, "Ilike"},
        {0, rArrangeWord, {"1", "x", "0"}, "I"},  // stops at the entry that is no number
        {2, rArrangeWord, {"0"}, ""},
        {0, rArrangeSentence, {"2"}, "apples"},
        {0, rDiscern, {"1"}, ""},
    };
    for (const auto& c : cases) {
        std::string output = "old";
        page->ComposeSentence(c.arrangement, c.kind, output, c.ids);
        EXPECT_EQ(output, c.expected) << c.arrangement << " " << int(c.kind);
    }
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(ArrangeTest, AnswerLabelSpellsTheBase36Answer) {
    struct Case {
        int32_t position;
        TOVRule kind;
        TTmpLabel expected;
        size_t messages;
    };
    const Case cases[] = {
        // "10a": words 1, 0 and 10; Top of the last, Left the least of the "True" words.
        {0, rArrangeWord, {"I like . ", 60, 100, {}}, 0},
        // "CanMove" in lower case does not count here.
        {1, rArrangeWord, {"Hi there ", 0, 10000, {}}, 0},
        {2, rArrangeWord, {"", 0, 10000, {}}, 0},
        // "1A": the upper-case letter names no word.
        {0, rArrangeSentence, {"I ", 0, 10000, {}}, 1},
        {3, rArrangeWord, {"", 0, 0, {}}, 1},
        {-1, rArrangeWord, {"", 0, 0, {}}, 1},
        {0, rTest, {"", 0, 0, {}}, 1},
    };
    for (const auto& c : cases) {
        TTmpLabel label{"old", 5, 5, {9, "font", 9}};
        page->GetAnswerLabel(c.position, c.kind, label);
        EXPECT_EQ(label, c.expected) << c.position << " " << int(c.kind);
        EXPECT_EQ(TakeMessageCount(), c.messages) << c.position << " " << int(c.kind);
    }
}

}  // namespace
