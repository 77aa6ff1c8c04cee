#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ov {

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
