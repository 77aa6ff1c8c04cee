#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "lesson/CoursewareCheck.h"

namespace ov {

// The references of one readable lesson page: files it names, sentences its
// scripts play, and the pictures, edits and words its exercises point at.
// Unreadable values are left to the page read, which reports them itself.
class PageCheck {
public:
    PageCheck(std::filesystem::path classFolder, std::string pageFile, std::vector<CheckFinding>& findings);

    void Run(pugi::xml_node root);

private:
    void CollectIds(pugi::xml_node root);
    void CheckPlaces(pugi::xml_node root);
    void CheckPlace(pugi::xml_node element, const std::string& label);
    void CheckFiles(pugi::xml_node root);
    void CheckFile(pugi::xml_node pool, const char* attribute, const char* what);
    void CheckChoiceMarks(pugi::xml_node root);
    bool IsFile(std::string_view name) const;
    void CheckScripts(pugi::xml_node root);
    void CheckScript(pugi::xml_node rule, const std::string& element);
    void CheckItems(pugi::xml_node root);
    void CheckTest(pugi::xml_node test, const std::string& element);
    void CheckArrangements(pugi::xml_node root);
    void CheckAnswer(std::string_view answer, int32_t sentenceId, const std::string& element);
    void CheckNames(pugi::xml_node node, const char* attribute, const std::set<int32_t>& pool, const char* what,
                    const std::string& element);
    void Report(std::string element, std::string text);

    std::filesystem::path classFolder_;
    std::string pageFile_;
    std::vector<CheckFinding>& findings_;
    std::map<int32_t, std::set<int32_t>> sentenceWords_;
    std::set<int32_t> sentences_, pictures_, buttons_, edits_;
};

}  // namespace ov
