#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ov {

// What the learning record keeps. Times are seconds since the epoch (UTC);
// lessons are named by their catalogue code; functions by their rule kind;
// pages by their number in the function's page list, counted from 1.

// One word of a recording as the reading feedback heard it.
struct RecordedWord {
    std::string word;
    bool heard = false;
    // From 0 to 1; kept to the whole per cent.
    double confidence = 0;
};

// A "对比" score of one reading.
struct ReadingScore {
    std::string lesson;
    int function = 0;
    int page = 0;
    std::vector<int32_t> sentences;
    // What the pupil read, so a teacher reads the record without the lesson.
    std::string text;
    double score = 0;
    // Empty when the feedback was not worked out.
    std::vector<RecordedWord> words;
    int64_t at = 0;
};

struct WrongAnswer {
    std::string typed;
    std::string expected;
};

// A "统计" of one page's answers.
struct AnswerTally {
    std::string lesson;
    int function = 0;
    int page = 0;
    int right = 0;
    int wrong = 0;
    std::vector<WrongAnswer> wrongAnswers;
    int64_t at = 0;
};

struct LessonOpened {
    std::string lesson;
    std::string caption;
    int64_t at = 0;
};

// A study function opened in the open lesson, or the word preview (no
// function); the time since the lesson or the function before it opened is
// counted to that one.
struct FunctionOpened {
    std::string lesson;
    std::optional<int> function;
    int64_t at = 0;
};

struct LessonClosed {
    std::string lesson;
    int64_t at = 0;
};

// One pass of the word drill through the lesson's word list.
struct DrillPass {
    std::string lesson;
    int words = 0;
    int64_t at = 0;
};

using ProgressEvent = std::variant<LessonOpened, FunctionOpened, LessonClosed, ReadingScore, AnswerTally, DrillPass>;

// A lesson's line of the record.
struct LessonSummary {
    std::string lesson;
    std::string caption;
    int64_t seconds = 0;
    int64_t lastOpened = 0;
    std::optional<double> best;
    std::optional<double> latest;
};

// One lesson's scores over time: the day's mean for each day it was read.
struct ScoreSeries {
    std::string lesson;
    std::string caption;
    // Day start (seconds since the epoch, local midnight) and mean score.
    std::vector<std::pair<int64_t, double>> days;
};

// A sentence or word to practise again, and where to practise it.
struct PractiseItem {
    enum class Kind { Sentence, Word };
    Kind kind = Kind::Sentence;
    std::string text;
    std::string lesson;
    std::string caption;
    int function = 0;
    int page = 0;
    // The sentence's latest score, or how often the word was missed.
    double figure = 0;
};

}  // namespace ov
