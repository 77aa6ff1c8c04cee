#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "lesson/UntRule.h"

namespace ov {

// The buttons of the operation bar that the study functions show.
enum class TOperationButton { Start, Stop, StudySing, Piror, Next, Record, Play, Compare, Stat, Result };

// The operation buttons of a study function, left to right; none for the
// functions without an operation bar (animations, the word preview).
std::vector<TOperationButton> OperationButtonsFor(TOVRule kind);
// Functions that step through items with "<<" and ">>".
bool StepsItems(TOVRule kind);

// A page entry's text before its first ".".
std::string PageBase(const std::string& entry);
// The index entry of a page file: everything from its first "." becomes ".ov".
std::string PageEntry(const std::string& fileName);
// "第" n "页/共" count "页", n counted from 1.
QString PageLabel(std::size_t number, std::size_t count);

enum class TPageButton { First, Prior, Next, Last };

// Where a page button goes and which page buttons it leaves enabled.
struct TPageTarget {
    std::size_t Entry = 0;
    bool FirstPriorEnabled = false;
    bool NextLastEnabled = false;
};

// Nothing when the list is empty or the current entry is not in it.
std::optional<TPageTarget> PageTarget(TPageButton button, const std::vector<std::string>& pages,
                                      const std::string& currentEntry);

}  // namespace ov
