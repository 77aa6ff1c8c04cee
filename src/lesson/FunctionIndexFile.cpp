#include "lesson/FunctionIndexFile.h"

#include <algorithm>

#include "lesson/XmlValue.h"

namespace ov {
namespace {

pugi::xml_node FunctionSlot(pugi::xml_node root, TOVRule kind) { return xml::Child(xml::Child(root, 0), kind); }

// An element without one plain text child reads as no pages at all.
std::string TolerantText(pugi::xml_node slot) {
    try {
        return std::string(xml::ElementText(slot).value_or(""));
    } catch (const xml::XmlFailure&) {
        return {};
    }
}

}  // namespace

FunctionIndexFile::FunctionIndexFile(std::filesystem::path folder, std::string fileName, bool createNew)
    : LessonXmlFile(std::move(folder), std::move(fileName), createNew) {
    InitialiseOrOpen();
}

void FunctionIndexFile::Initialise() {
    InitialiseWith([](pugi::xml_document& document) {
        pugi::xml_node root = document.append_child("OVENG");
        root.append_attribute("ver") = "6.0";
        pugi::xml_node functions = root.append_child("Function");
        for (int n = 0; n < kRuleKindCount; ++n) functions.append_child(("Function_" + std::to_string(n)).c_str());
    });
}

std::optional<std::vector<std::string>> FunctionIndexFile::SplitList(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::vector<std::string> parts;
    for (size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|')) {
        parts.emplace_back(text.substr(0, bar));
        text.remove_prefix(bar + 1);
    }
    parts.emplace_back(text);
    return parts;
}

std::optional<std::vector<std::string>> FunctionIndexFile::GetPageList(TOVRule kind) {
    std::optional<std::vector<std::string>> list;
    Run([&](pugi::xml_node root) { list = SplitList(TolerantText(FunctionSlot(root, kind))); });
    return list;
}

bool FunctionIndexFile::ListsPages(TOVRule kind) {
    bool lists = false;
    Run([&](pugi::xml_node root) { lists = !TolerantText(FunctionSlot(root, kind)).empty(); }, Report::Silent);
    return lists;
}

void FunctionIndexFile::GetNeighbourPage(TOVRule kind, const std::string& current, std::string& output, TNeighbour direction) {
    Run([&](pugi::xml_node root) {
        const auto list = SplitList(xml::TextOf(FunctionSlot(root, kind)));
        const auto& pages = list.value();
        const size_t n = pages.size();
        const size_t i = static_cast<size_t>(std::find(pages.begin(), pages.end(), current) - pages.begin());
        switch (direction) {
            case nbFirst: output = pages.front(); break;
            case nbPrevious: output = pages[i == 0 ? 0 : i - 1]; break;
            case nbNext:
                if (i == n) throw xml::XmlFailure("the current page is not in the list");
                output = pages[std::min(i + 1, n - 1)];
                break;
            case nbLast: output = pages.back(); break;
        }
    });
}

bool FunctionIndexFile::SetPageList(TOVRule kind, const std::string& pages) {
    return Run([&](pugi::xml_node root) {
        pugi::xml_node slot = FunctionSlot(root, kind);
        if (slot.type() != pugi::node_element) throw xml::XmlFailure("the slot is not an element");
        while (slot.first_child()) slot.remove_child(slot.first_child());
        if (!pages.empty()) slot.text().set(pages.c_str());
    });
}

}  // namespace ov
