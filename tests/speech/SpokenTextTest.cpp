#include <gtest/gtest.h>

#include "speech/SpokenText.h"

namespace ov {
namespace {

using Words = std::vector<std::string>;

TEST(SpokenText, ShownWordsAreReadAsDictionaryWords) {
    const struct {
        const char* shown;
        Words spoken;
    } cases[] = {
        {"Good,", {"good"}},
        {"\"Hello!\"", {"hello"}},
        {"don't", {"don't"}},
        {"'Mike's'", {"mike's"}},
        {"ice-cream", {"ice", "cream"}},
        {"Mr.Li", {"mr", "li"}},
        {"0", {"zero"}},
        {"13", {"thirteen"}},
        {"25", {"twenty", "five"}},
        {"100", {"one", "hundred"}},
        {"2008", {"two", "thousand", "eight"}},
        {"1,000", {"one", "zero", "zero", "zero"}},
        {"3000000", {"three", "million"}},
        {"007", {"zero", "zero", "seven"}},
        {"1234567890", {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "zero"}},
        {"12:30", {"twelve", "thirty"}},
        {"1st", {"first"}},
        {"2nd", {"second"}},
        {"3rd", {"third"}},
        {"5th", {"fifth"}},
        {"12th", {"twelfth"}},
        {"20th", {"twentieth"}},
        {"21st", {"twenty", "first"}},
        {"3D", {"three", "d"}},
        {"apple苹果", {"apple"}},
        {"苹果", {}},
        {"!?...", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SpokenParts(c.shown), c.spoken) << c.shown;
}

TEST(SpokenText, OnlyWordsThatSaySomethingAreJudged) {
    EXPECT_EQ(SplitAtSpaces("  Good\tmorning,\n Miss  White! "), (Words{"Good", "morning,", "Miss", "White!"}));
    const std::vector<TextWord> words = SpokenWords({"Hello", "-", "你好", "I'm", "10."});
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], (TextWord{"Hello", {"hello"}}));
    EXPECT_EQ(words[1], (TextWord{"I'm", {"i'm"}}));
    EXPECT_EQ(words[2], (TextWord{"10.", {"ten"}}));
    EXPECT_TRUE(SpokenWords(SplitAtSpaces("，。！ 你好 ...")).empty());
}

}  // namespace
}  // namespace ov
