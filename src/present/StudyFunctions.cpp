#include "present/StudyFunctions.h"

#include <algorithm>

namespace ov {
namespace {

using B = TOperationButton;

const std::vector<TOperationButton> kReading = {B::Start, B::Stop, B::Record, B::Play, B::Compare};
const std::vector<TOperationButton> kExercise = {B::Start, B::Stop, B::Prior, B::Next, B::Stat, B::Result};

std::vector<StudyFunction> MakeTable() {
    std::vector<StudyFunction> table;
    const auto add = [&table](TOVRule kind) -> StudyFunction& {
        table.push_back({});
        table.back().kind = kind;
        return table.back();
    };
    const auto button = [](StudyFunction& f, const char* caption, const char* name, const char* group) {
        f.caption = caption;
        f.buttonName = name;
        f.group = group;
    };
    const auto reading = [&](StudyFunction& f, bool playsScript) {
        f.operations = kReading;
        f.playsScript = playsScript;
        f.readsAloud = true;
        f.start = StartAction::PlayScript;
        f.stop = StopAction::StopScript;
    };
    const auto exercise = [&](StudyFunction& f, AnswerKind answers, ItemKind items, bool playsScript) {
        f.operations = kExercise;
        f.playsScript = playsScript;
        f.answers = answers;
        f.items = items;
        f.stepsItems = true;
        f.start = StartAction::FirstItem;
        f.stop = StopAction::CloseSounds;
    };
    const char* const words = "◎单词部分";
    const char* const sentences = "◎句子部分";
    const char* const tests = "◎测试部分";
    const char* const extension = "◎延伸部分";

    // The column's buttons, top to bottom.
    StudyFunction& wordRead = add(rWordFollowRead);
    button(wordRead, "单词跟读", "BtnWordFollowRead", words);
    reading(wordRead, true);
    StudyFunction& wordWrite = add(rWordFollowWrite);
    button(wordWrite, "单词听写", "BtnWordFollowWrite", words);
    exercise(wordWrite, AnswerKind::Dictation, ItemKind::HeardThenTyped, true);
    StudyFunction& sentenceRead = add(rSentenceFollowRead);
    button(sentenceRead, "句子跟读", "BtnSentenceFollowRead", sentences);
    reading(sentenceRead, true);
    StudyFunction& discern = add(rDiscern);
    button(discern, "句子听辩", "BtnDiscern", sentences);
    exercise(discern, AnswerKind::Choice, ItemKind::HeardThenTyped, false);
    StudyFunction& roleAct = add(rRoleAct);
    button(roleAct, "角色互换", "BtnRoleAct", sentences);
    reading(roleAct, false);
    roleAct.start = StartAction::ChooseRole;
    StudyFunction& test = add(rTest);
    button(test, "课后练习", "BtnTest", tests);
    exercise(test, AnswerKind::Choice, ItemKind::Question, true);
    StudyFunction& music = add(rMusic);
    button(music, "音乐茶座", "BtnMusic", extension);
    music.operations = {B::Start, B::StudySing, B::Stop, B::Record, B::Play};
    music.readsAloud = true;
    music.playsScript = true;
    music.start = StartAction::PlayFromTheTop;
    music.stop = StopAction::StopScript;
    music.showsMovies = true;
    StudyFunction& animations = add(rEncampment);
    button(animations, "动画欣赏", "BtnEncampment", extension);
    animations.showsMovies = true;
    StudyFunction& games = add(rGames);
    button(games, "游戏乐园", "BtnGames", extension);
    games.operations = {B::Start, B::Stop, B::Prior, B::Next};
    games.items = ItemKind::Game;
    games.playsScript = true;
    games.start = StartAction::PlayMovies;
    games.stop = StopAction::StopMovies;
    games.showsMovies = true;

    // Kinds without a button whose scripts and answers a page may still use.
    for (TOVRule kind : {rTitle, rScene, rTitleRecite, rWordEden, rWorldExtend}) add(kind).playsScript = true;
    StudyFunction& sentenceWrite = add(rSentenceFollowWrite);
    sentenceWrite.answers = AnswerKind::Dictation;
    sentenceWrite.items = ItemKind::HeardThenTyped;
    sentenceWrite.playsScript = true;
    for (TOVRule kind : {rArrangeWord, rArrangeSentence}) add(kind).answers = AnswerKind::Arrangement;
    return table;
}

const std::vector<StudyFunction>& Table() {
    static const std::vector<StudyFunction> table = MakeTable();
    return table;
}

}  // namespace

const StudyFunction& StudyFunctionOf(TOVRule kind) {
    static const StudyFunction none;
    const auto& table = Table();
    const auto found =
        std::find_if(table.begin(), table.end(), [kind](const StudyFunction& f) { return f.kind == kind; });
    return found == table.end() ? none : *found;
}

std::vector<const StudyFunction*> ColumnFunctions() {
    std::vector<const StudyFunction*> column;
    for (const StudyFunction& function : Table())
        if (function.caption) column.push_back(&function);
    return column;
}

}  // namespace ov
