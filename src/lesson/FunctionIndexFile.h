#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lesson/LessonXmlFile.h"
#include "lesson/LessonRecords.h"

namespace ov {

enum TNeighbour : uint8_t { nbFirst, nbPrevious, nbNext, nbLast };

// The function index "OVFunction.ind": for every study function the page
// files of its pages, "|"-separated, read by position under the root's first
// child.
class FunctionIndexFile : public LessonXmlFile {
public:
    FunctionIndexFile(std::filesystem::path folder, std::string fileName, bool createNew);

    // The skeleton: 27 empty "Function_" elements.
    void Initialise() override;

    // Nothing for the empty text; otherwise every part, empty ones included.
    static std::optional<std::vector<std::string>> SplitList(std::string_view text);

    // Nothing when the function has no pages or the index cannot be read.
    std::optional<std::vector<std::string>> GetPageList(TOVRule kind);
    // Whether the function lists a page; silent, for looking ahead without
    // troubling the pupil with a damaged index.
    bool ListsPages(TOVRule kind);

    // Entries are compared exactly. On failure output keeps its value.
    void GetNeighbourPage(TOVRule kind, const std::string& current, std::string& output, TNeighbour direction);

    // For authors: replaces the page list of a function (call Save to write).
    // False, after the message, when the slot cannot be reached.
    bool SetPageList(TOVRule kind, const std::string& pages);
};

}  // namespace ov
