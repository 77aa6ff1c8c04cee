#pragma once

#include <vector>

#include "lesson/LessonRecords.h"

namespace ov {

// The buttons of the operation bar that the study functions show.
enum class TOperationButton { Start, Stop, StudySing, Prior, Next, Record, Play, Compare, Stat, Result };

// How the answers of a function's exercises are checked by "统计" and shown
// by "答案".
enum class AnswerKind { None, Dictation, Choice, Arrangement };

// What going to one of a function's items does.
enum class ItemKind { None, HeardThenTyped, Question, Game };

// What "开始" and "停止" do in a function.
enum class StartAction { None, PlayScript, FirstItem, ChooseRole, PlayFromTheTop, PlayMovies };
enum class StopAction { None, StopScript, CloseSounds, StopMovies };

// One study function, or one rule kind a page plays: all that the function
// column, the operation bar, the conductor and the page ask of it.
struct StudyFunction {
    TOVRule kind = rImage;
    // Its button in the function column, under the group's heading; none for
    // the kinds that have no button.
    const char* caption = nullptr;
    const char* buttonName = nullptr;
    const char* group = nullptr;
    // Left to right.
    std::vector<TOperationButton> operations;
    // The recording buttons act: the pupil reads the page aloud.
    bool readsAloud = false;
    AnswerKind answers = AnswerKind::None;
    ItemKind items = ItemKind::None;
    // "<<" and ">>" step through its items; "统计" and "答案" act.
    bool stepsItems = false;
    // Its rule's play script is run by "开始" and by clicks on the page.
    bool playsScript = false;
    StartAction start = StartAction::None;
    StopAction stop = StopAction::None;
    // Its pages are Flash movies.
    bool showsMovies = false;
};

// The entry of a kind; a kind without one gets an entry that shows and does nothing.
const StudyFunction& StudyFunctionOf(TOVRule kind);
// The functions with a button in the column, top to bottom.
std::vector<const StudyFunction*> ColumnFunctions();

}  // namespace ov
