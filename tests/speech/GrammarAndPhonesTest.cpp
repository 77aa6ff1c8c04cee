#include <gtest/gtest.h>

#include "speech/FeedbackGrammar.h"
#include "speech/IpaPhones.h"
#include "speech/SpeechLoudness.h"

#include <algorithm>
#include <cmath>

namespace ov {
namespace {

using Phones = std::vector<std::string>;

TEST(IpaPhones, EspeakTranscriptionsBecomeModelPhones) {
    const struct {
        const char* ipa;
        Phones phones;
    } cases[] = {
        {"həlˈoʊ", {"HH", "AH", "L", "OW"}},
        {"wˈɜːld", {"W", "ER", "L", "D"}},
        {"kəmpjˈuːɾɚ", {"K", "AH", "M", "P", "Y", "UW", "T", "ER"}},
        {"bˈʌʔn̩", {"B", "AH", "T", "AH", "N"}},
        {"kˈɑːɹ", {"K", "AA", "R"}},
        {"fˈaɪɚ", {"F", "AY", "ER"}},
        {"skwˈɛɹ", {"S", "K", "W", "EH", "R"}},
        {"tʃˈɜːtʃ", {"CH", "ER", "CH"}},
        {"dʒˈʌmp", {"JH", "AH", "M", "P"}},
        {"θˈɪŋ ðˈɛɹ", {"TH", "IH", "NG", "DH", "EH", "R"}},
        {"ʒuː", {"ZH", "UW"}},
        {"ɡwˈɑːŋʒuː", {"G", "W", "AA", "NG", "ZH", "UW"}},
        {"", {}},
        {"ˈˌː.", {}},
        {"\xff\xfe\xe2", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(IpaToPhones(c.ipa), c.phones) << c.ipa;
}

TEST(FeedbackGrammar, EveryWordCanBeSaidSkippedReplacedOrTheReadingEnd) {
    const GrammarGraph g = FeedbackGrammar({"good@0", "morning@1"}, {"~AA", "~B"}, {1.0, 0.1, 1e-3});
    // Places 0, 1, 2 (the end) and one phone loop per word.
    EXPECT_EQ(g.states, 5);
    EXPECT_EQ(g.start, 0);
    EXPECT_EQ(g.final, 2);
    auto has = [&](int from, int to, double p, const std::string& word) {
        return std::any_of(g.arcs.begin(), g.arcs.end(), [&](const GrammarGraph::Arc& a) {
            return a.from == from && a.to == to && a.probability == p && a.word == word;
        });
    };
    EXPECT_TRUE(has(0, 1, 1.0, "good@0"));
    EXPECT_TRUE(has(1, 2, 1.0, "morning@1"));
    EXPECT_TRUE(has(0, 1, 0.1, ""));
    EXPECT_TRUE(has(1, 2, 0.1, ""));
    for (const char* phone : {"~AA", "~B"}) {
        EXPECT_TRUE(has(0, 3, 1e-3, phone));
        EXPECT_TRUE(has(3, 3, 1e-3, phone));
        EXPECT_TRUE(has(1, 4, 1e-3, phone));
        EXPECT_TRUE(has(4, 4, 1e-3, phone));
    }
    EXPECT_TRUE(has(3, 1, 1.0, ""));
    EXPECT_TRUE(has(4, 2, 1.0, ""));
    // Stopping after the first word costs nothing.
    EXPECT_TRUE(has(0, 2, 1.0, ""));

    const GrammarGraph none = FeedbackGrammar({}, {"~AA"});
    EXPECT_EQ(none.states, 1);
    EXPECT_EQ(none.final, 0);
    EXPECT_TRUE(none.arcs.empty());
}

std::vector<int16_t> Tone(int ms, double amplitude) {
    std::vector<int16_t> s(static_cast<size_t>(ms) * kSpeechRate / 1000);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<int16_t>(amplitude * 32767 * std::sin(2 * M_PI * 220 * static_cast<double>(i) / kSpeechRate));
    return s;
}

TEST(SpeechLoudness, SpeechIsWhatStandsOutOfTheBackground) {
    EXPECT_TRUE(SpeechFrames({}).empty());
    const std::vector<bool> silent = SpeechFrames(std::vector<int16_t>(kSpeechRate, 0));
    EXPECT_EQ(std::count(silent.begin(), silent.end(), true), 0);
    const std::vector<bool> steady = SpeechFrames(Tone(1000, 0.3));
    EXPECT_EQ(std::count(steady.begin(), steady.end(), true), 0) << "a steady hum is background";

    std::vector<int16_t> burst = Tone(500, 0.002);
    const std::vector<int16_t> loud = Tone(300, 0.5);
    burst.insert(burst.begin() + burst.size() / 2, loud.begin(), loud.end());
    const std::vector<bool> speech = SpeechFrames(burst);
    ASSERT_EQ(speech.size(), 80u);
    EXPECT_EQ(std::count(speech.begin(), speech.end(), true), 30);
    EXPECT_FALSE(speech[24]);
    EXPECT_TRUE(speech[25]);
    EXPECT_TRUE(speech[54]);
    EXPECT_FALSE(speech[55]);
}

}  // namespace
}  // namespace ov
