#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lesson/LessonRecords.h"
#include "present/AnswerCheck.h"
#include "present/StudyFunctions.h"
#include "study/StudyState.h"
#include "study/FunctionPages.h"

namespace ov {

class FunctionIndexFile;
class LessonPanel;

// What the conductor asks of the window that hosts it.
struct TConductorHost {
    // Shows exactly these operation buttons, left to right.
    std::function<void(const std::vector<TOperationButton>&)> ArrangeOperationButtons;
    std::function<void(TOperationButton, bool enabled)> EnableOperationButton;
    // The pupil picks one of the roles; empty when cancelled.
    std::function<QString(const QStringList& roles)> ChooseRole;
};

// Opens the pages of a study function in the lesson panel, turns them, and
// routes the operation bar to the content box according to the function.
class TFunctionConductor {
public:
    // The first role of the role swap starts after two such pauses.
    static constexpr int kRoleDelayMs = 1000;

    TFunctionConductor(LessonPanel& panel, StudyState& state, TConductorHost host);
    ~TFunctionConductor();
    TFunctionConductor(const TFunctionConductor&) = delete;
    TFunctionConductor& operator=(const TFunctionConductor&) = delete;

    // Shows the first page of the function; failures leave the panel as it was.
    void OpenFunction(const std::string& folder, TOVRule kind);
    void ShowPage(TPageButton button);
    // The page at `entry` of the open function's list, counted from 0; an
    // entry past the list's end is ignored.
    void ShowPageAt(std::size_t entry);
    // The shown page's place in the function's list, from 1; 0 when none.
    int PageNumber() const;

    void Start();
    void Stop();
    void StudySing();
    void Prior();
    void Next();
    // What "统计" counted on the page, when it counted anything.
    std::optional<TPageStatistics> Stat();
    void Result();
    // Whether what "开始" started still goes on, so that "停止" has something
    // to end: the page read aloud, an item's sound, the movies, or a role
    // about to start.
    bool Running() const;

    FunctionIndexFile* FunctionIndex() const { return index_.get(); }
    // Whether the open lesson's index lists pages of the function; silent.
    bool ListsPages(TOVRule kind) const;

private:
    TOVRule Kind() const { return static_cast<TOVRule>(state_.RuleKind); }
    const StudyFunction& Function() const { return StudyFunctionOf(Kind()); }
    bool Shows(TOperationButton button) const;
    void ClearPageExtras();
    void SetPageButtons(bool shown, bool firstPriorEnabled, bool nextLastEnabled);
    void ShowEntry(const std::string& entry);
    void ShowTarget(const TPageTarget& target);
    void RoleAct();
    // Whatever the pupil does next, the first role no longer starts on its own.
    void CancelRoleStart();
    void TurnGamePage(bool next);
    void ShowPagePosition(const std::string& entry);

    LessonPanel& panel_;
    StudyState& state_;
    TConductorHost host_;
    std::unique_ptr<FunctionIndexFile> index_;
    QTimer roleStart_;
    std::string startingRole_;
};

}  // namespace ov
