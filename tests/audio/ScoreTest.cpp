#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "audio/RecordingScore.h"

namespace {

using Samples = std::vector<uint8_t>;

uint8_t AtLevel(int level) { return static_cast<uint8_t>(128 + level); }

// Speech whose voiced windows span exactly `span` positions: windows that
// touch the two loud samples on either side are never voiced.
Samples Speech(int span, int level) {
    Samples s(static_cast<size_t>(span) + 6, AtLevel(level));
    s[0] = s[1] = s[s.size() - 2] = s[s.size() - 1] = AtLevel(100);
    return s;
}

Samples Silence(int count) { return Samples(count, 132); }

Samples Join(Samples a, const Samples& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ScoreCase {
    const char* name;
    Samples orig;
    Samples rec;
    double score;
};

void PrintTo(const ScoreCase& c, std::ostream* os) { *os << c.name; }

class ScoreTable : public testing::TestWithParam<ScoreCase> {};

TEST_P(ScoreTable, ScoresTheRecordingAgainstTheOriginal) {
    ov::TGetSoundDataResult scorer;
    EXPECT_NEAR(ov::CompareRecording(scorer, GetParam().orig, GetParam().rec), GetParam().score, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Compare, ScoreTable,
    testing::Values(
        ScoreCase{"Identical", Join(Silence(50), Speech(100, 20)), Join(Speech(100, 20), Silence(70)), 99},
        ScoreCase{"TwiceAsLoudKeepsRatioOne", Speech(100, 20), Speech(100, 40), 49.5},
        ScoreCase{"RatioQuarterBecomesOne", Speech(100, 20), Speech(100, 5), 24.75},
        ScoreCase{"RatioInsideClampsScalesOriginal", Speech(100, 20), Speech(100, 30), 99},
        ScoreCase{"Span41GivesEmptyOriginal", Speech(41, 20), Speech(41, 20), 0},
        ScoreCase{"Span42GivesSegmentOne", Speech(42, 20), Speech(42, 20), 99},
        ScoreCase{"OriginalWithoutVoice", Silence(500), Speech(100, 20), 0},
        ScoreCase{"OriginalWithOneVoicedWindow", Join(Silence(5), Samples(3, AtLevel(5))), Speech(100, 20), 0},
        ScoreCase{"OnlyVoicedWindowAtZeroIsFlat", Join(Samples(3, AtLevel(5)), Silence(9)), Speech(100, 20), 0},
        ScoreCase{"SpanStartingAtZeroIsKept", Join(Samples(102, AtLevel(20)), Samples(2, AtLevel(100))),
                  Speech(100, 20), 99},
        ScoreCase{"LevelOfHundredIsNeverVoiced", Samples(300, AtLevel(100)), Speech(100, 20), 0},
        ScoreCase{"LevelOfHundredBelowZeroLine", Samples(300, AtLevel(-100)), Speech(100, 20), 0},
        ScoreCase{"RecordingWithoutVoice", Speech(100, 20), Silence(300), 10 * 9.9 * 0.1 / 20},
        ScoreCase{"EmptyRecordingProfile", Speech(100, 20), Speech(41, 20), 0},
        ScoreCase{"OriginalMuchLonger", Speech(400, 20), Speech(100, 20), 99 * 0.3},
        ScoreCase{"OriginalMuchShorter", Speech(100, 20), Speech(400, 20), 99 * 0.3},
        ScoreCase{"EmptyInputs", Samples{}, Samples{}, 0}),
    [](const testing::TestParamInfo<ScoreCase>& c) { return c.param.name; });

TEST(ScoreState, SilentRecordingIsCheckedAgainstTheLastRecordingLength) {
    ov::TGetSoundDataResult scorer;
    ov::CompareRecording(scorer, Speech(100, 20), Speech(400, 20));
    EXPECT_EQ(scorer.OrigSegment(), 2);
    EXPECT_EQ(scorer.RecSegment(), 9);

    EXPECT_NEAR(ov::CompareRecording(scorer, Speech(100, 20), Silence(300)), 10 * 9.9 * 0.1 / 20 * 0.3, 1e-9);
    EXPECT_EQ(scorer.RecSegment(), 9);
}

TEST(ScoreState, EmptyOriginalLeavesTheRecordingUnprofiled) {
    ov::TGetSoundDataResult scorer;
    ov::CompareRecording(scorer, Speech(100, 20), Speech(100, 20));
    EXPECT_THROW(scorer.Compare(std::vector<int>(43, 148), std::vector<int>(500, 148)), ov::ECompareError);
    EXPECT_EQ(scorer.OrigSegment(), 0);
    EXPECT_EQ(scorer.RecSegment(), 2);
}

}  // namespace
