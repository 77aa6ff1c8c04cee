#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/ProgressRecords.h"

namespace ov {

class ProgressStore;

// Lessons, most recently opened first.
std::vector<LessonSummary> ReadLessonSummaries(ProgressStore& store);

// The daily mean scores from `since` on of each of `lessons` that has any,
// in that order. Days are the pupil's: a day starts at local midnight,
// `utcOffset` seconds ahead of UTC.
std::vector<ScoreSeries> ReadScoreSeries(ProgressStore& store, const std::vector<std::string>& lessons,
                                         int64_t utcOffset, int64_t since = 0);

// Up to `count` things to practise again, sentences and words in turn: the
// sentences whose latest score is lowest (a full score is not offered), and
// the words missed most often, heard as missing in one of the latest 2,000
// readings or answered wrongly, each with the place it was last missed.
std::vector<PractiseItem> ReadPractiseAgain(ProgressStore& store, size_t count = 10);

// Seconds a lesson spent in one study function; the function is empty for
// the time before the first function (the word preview).
struct FunctionTime {
    std::string lesson;
    std::optional<int> function;
    int64_t seconds = 0;
};

// Everything kept from `since` on, oldest first, as a teacher exports it.
struct ProgressExport {
    std::vector<LessonSummary> lessons;
    std::vector<FunctionTime> times;
    std::vector<ReadingScore> scores;
    std::vector<AnswerTally> tallies;
    std::vector<DrillPass> drills;
};
ProgressExport ReadProgress(ProgressStore& store, int64_t since = 0);

}  // namespace ov
