#include "lesson/PageCheck.h"

#include <optional>
#include <utility>

#include "core/CoursewarePath.h"
#include "lesson/LessonLayout.h"
#include "lesson/PageLimits.h"
#include "lesson/PlayScript.h"
#include "lesson/XmlValue.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

using namespace xml;

std::optional<int32_t> NumberAttribute(pugi::xml_node node, const char* name) {
    const Value value = Attribute(node, name);
    return value ? ParseDecimal(*value) : std::nullopt;
}

// "picture 4", or the attribute that names an element without an Id ("role Tom").
std::string Label(std::string_view what, pugi::xml_node node, const char* name = "Id") {
    const Value value = Attribute(node, name);
    return std::string(what) + " " + (value ? std::string(*value) : std::string("?"));
}

std::set<int32_t> IdsOf(pugi::xml_node pool) {
    std::set<int32_t> ids;
    for (pugi::xml_node element : pool.children())
        if (auto id = NumberAttribute(element, "Id")) ids.insert(*id);
    return ids;
}

// The elements of a section; comments and other nodes are the page read's business.
template <typename Visit>
void ForEachElement(pugi::xml_node section, Visit visit) {
    for (pugi::xml_node element : section.children())
        if (element.type() == pugi::node_element) visit(element);
}

// Base-36 word Ids of an arrangement answer: "0"-"9", then "a"-"z".
std::optional<int32_t> AnswerDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return std::nullopt;
}

}  // namespace

PageCheck::PageCheck(std::filesystem::path classFolder, std::string pageFile, std::vector<CheckFinding>& findings)
    : classFolder_(std::move(classFolder)), pageFile_(std::move(pageFile)), findings_(findings) {}

void PageCheck::Report(std::string element, std::string text) {
    findings_.push_back({pageFile_, std::move(element), std::move(text)});
}

void PageCheck::Run(pugi::xml_node root) {
    // A page that lacks a pool or section fails the page read, which has
    // been reported; what can still be walked is checked.
    for (auto check :
         {&PageCheck::CollectIds, &PageCheck::CheckPlaces, &PageCheck::CheckFiles, &PageCheck::CheckChoiceMarks,
          &PageCheck::CheckScripts, &PageCheck::CheckItems, &PageCheck::CheckArrangements}) {
        try {
            (this->*check)(root);
        } catch (const XmlFailure&) {
        }
    }
}

void PageCheck::CollectIds(pugi::xml_node root) {
    ForEachElement(layout::Walk(root, layout::kAlls), [&](pugi::xml_node sentence) {
        const auto id = NumberAttribute(sentence, "Id");
        if (!id) return;
        // Lookups take the first sentence of an Id: a second one never plays its own rule.
        if (!sentences_.insert(*id).second)
            Report(Label("sentence", sentence),
                   "an earlier sentence has the same Id, so this one's rule is never reached");
        for (int32_t word : IdsOf(sentence)) sentenceWords_[*id].insert(word);
    });
    pictures_ = IdsOf(layout::Walk(root, layout::kAlli));
    buttons_ = IdsOf(layout::Walk(root, layout::kAllButton));
    edits_ = IdsOf(layout::Walk(root, layout::kAllEdit));
}

void PageCheck::CheckPlaces(pugi::xml_node root) {
    ForEachElement(layout::Walk(root, layout::kAlls), [&](pugi::xml_node sentence) {
        const std::string owner = Label("sentence", sentence) + " ";
        ForEachElement(sentence, [&](pugi::xml_node word) { CheckPlace(word, owner + Label("word", word)); });
    });
    const struct {
        layout::Path pool;
        const char* what;
    } pools[] = {{layout::kAlli, "picture"},       {layout::kAllButton, "button"},
                 {layout::kAllRadio, "video"},     {layout::kAllEdit, "answer edit"},
                 {layout::kAllShape, "rectangle"}, {layout::kAllFlash, "Flash movie"},
                 {layout::kGames, "game"}};
    for (const auto& pool : pools)
        ForEachElement(layout::Walk(root, pool.pool),
                       [&](pugi::xml_node element) { CheckPlace(element, Label(pool.what, element)); });
}

// The page starts at 0, 0: an element left of or above it cannot be scrolled
// to, and the player brings larger numbers down to its limit.
void PageCheck::CheckPlace(pugi::xml_node element, const std::string& label) {
    for (const char* attribute : {"Top", "Left", "Width", "Height"}) {
        const auto value = NumberAttribute(element, attribute);
        if (value && (*value < 0 || *value > page::kMaxCoordinate))
            Report(label, std::string("\"") + attribute + "\" is " + std::to_string(*value) +
                              ", outside the page (0 to " + std::to_string(page::kMaxCoordinate) + ")");
    }
}

void PageCheck::CheckFiles(pugi::xml_node root) {
    CheckFile(layout::Walk(root, layout::kAlls), "Audio", "sentence");
    CheckFile(layout::Walk(root, layout::kAlli), "Name", "picture");
    CheckFile(layout::Walk(root, layout::kAllRadio), "Movie", "video");
    CheckFile(layout::Walk(root, layout::kAllFlash), "Movie", "Flash movie");
    CheckFile(layout::Walk(root, layout::kGames), "Movie", "game");
}

// Names are looked up as the player looks them up: under the class folder,
// ignoring case. A sentence without sound is allowed (it is never played).
void PageCheck::CheckFile(pugi::xml_node pool, const char* attribute, const char* what) {
    ForEachElement(pool, [&](pugi::xml_node element) {
        const Value name = Attribute(element, attribute);
        if (!name || name->empty()) return;
        if (!ResolveCoursewareName(classFolder_, *name))
            Report(Label(what, element),
                   "file \"" + std::string(*name) + "\" leaves the lesson folder: the player treats it as missing");
        else if (!IsFile(*name))
            Report(Label(what, element), "file \"" + std::string(*name) + "\" is missing");
    });
}

// A click on a choice picture loads these marks from the class folder; the
// first choice picture stands for the page.
void PageCheck::CheckChoiceMarks(pugi::xml_node root) {
    const pugi::xml_node pictures = layout::Walk(root, layout::kAlli);
    const pugi::xml_node choice = pictures.find_child([](pugi::xml_node picture) {
        const Value key = Attribute(picture, "Key");
        return key && !key->empty();
    });
    if (!choice) return;
    for (const char* mark : {"Selected.jpg", "NOSelected.jpg"})
        if (!IsFile(mark)) Report(Label("picture", choice), std::string("choice mark \"") + mark + "\" is missing");
}

bool PageCheck::IsFile(std::string_view name) const {
    std::error_code error;
    return std::filesystem::is_regular_file(ResolveCoursewarePath(classFolder_, name), error);
}

void PageCheck::CheckScripts(pugi::xml_node root) {
    for (auto group : {layout::kOtherSentences, layout::kOtherImages, layout::kOtherButtons, layout::kOtherEdits}) {
        const pugi::xml_node section = layout::Walk(root, group);
        ForEachElement(section, [&](pugi::xml_node rule) { CheckScript(rule, Label(section.name(), rule)); });
    }
    for (int kind = rTitle; kind <= rWorldExtend; ++kind) {
        const auto path = layout::RuleSection(static_cast<TOVRule>(kind));
        if (!path) continue;
        const pugi::xml_node section = layout::Walk(root, *path);
        const char* name = kind == rRoleAct ? "Role" : "Id";
        ForEachElement(section, [&](pugi::xml_node rule) { CheckScript(rule, Label(section.name(), rule, name)); });
    }
}

// Exercise items with tests carry no script; every other rule's text is one.
void PageCheck::CheckScript(pugi::xml_node rule, const std::string& element) {
    if (rule.find_child([](pugi::xml_node child) { return child.type() == pugi::node_element; })) return;
    Value text;
    try {
        text = ElementText(rule);
    } catch (const XmlFailure&) {
        Report(element, "the script is not a single text");
        return;
    }
    if (!text) return;
    std::vector<TScriptEntry> list;
    try {
        ParsePlayScript(*text, list);
    } catch (const EConvertError&) {
        Report(element, "the script \"" + std::string(*text) + "\" does not parse");
    }
    std::set<int32_t> named;
    for (const TScriptEntry& entry : list)
        if (entry.Kind == TScriptEntry::kPlay && !sentences_.count(entry.SentenceId)) named.insert(entry.SentenceId);
    for (int32_t id : named) Report(element, "the script plays sentence " + std::to_string(id) + ", which the page lacks");
}

void PageCheck::CheckItems(pugi::xml_node root) {
    for (TOVRule kind : {rWordFollowWrite, rSentenceFollowWrite, rDiscern, rTest}) {
        const pugi::xml_node section = layout::Walk(root, layout::SectionOf(kind));
        ForEachElement(section, [&](pugi::xml_node item) {
            const std::string element = Label(std::string(section.name()) + " item", item);
            if (Attribute(item, "SentencesId")) CheckNames(item, "SentencesId", sentences_, "sentence", element);
            ForEachElement(item, [&](pugi::xml_node test) { CheckTest(test, element); });
        });
    }
}

// A test points at the page element of its control kind and at its mark picture.
void PageCheck::CheckTest(pugi::xml_node test, const std::string& element) {
    const auto style = NumberAttribute(test, "ControlStyle");
    if (!style) return;
    switch (*style) {
        case rImage: CheckNames(test, "ControlId", pictures_, "picture", element); break;
        case rLabel: CheckNames(test, "ControlId", sentences_, "sentence", element); break;
        case rButton: CheckNames(test, "ControlId", buttons_, "button", element); break;
        case rEdit: CheckNames(test, "ControlId", edits_, "answer edit", element); break;
        default: break;
    }
    CheckNames(test, "ImageId", pictures_, "mark picture", element);
}

void PageCheck::CheckArrangements(pugi::xml_node root) {
    for (TOVRule kind : {rArrangeWord, rArrangeSentence}) {
        const pugi::xml_node section = layout::Walk(root, layout::SectionOf(kind));
        ForEachElement(section, [&](pugi::xml_node arrangement) {
            const std::string element = Label(std::string(section.name()) + " arrangement", arrangement);
            CheckNames(arrangement, "SentencesId", sentences_, "sentence", element);
            const pugi::xml_node answer = arrangement.first_child();
            if (answer.type() != pugi::node_element) {
                Report(element, "the arrangement has no answer element");
                return;
            }
            CheckNames(answer, "ImageId", pictures_, "mark picture", element);
            const auto sentence = NumberAttribute(arrangement, "SentencesId");
            const Value order = Attribute(answer, "Answer");
            if (sentence && order) CheckAnswer(*order, *sentence, element);
        });
    }
}

void PageCheck::CheckAnswer(std::string_view answer, int32_t sentenceId, const std::string& element) {
    const std::set<int32_t>& words = sentenceWords_[sentenceId];
    for (char c : answer) {
        const auto word = AnswerDigit(c);
        if (!word)
            Report(element, std::string("the answer \"") + std::string(answer) + "\" holds \"" + c +
                                "\", which names no word (0-9, a-z)");
        else if (!words.count(*word))
            Report(element, "the answer names word " + std::to_string(*word) + ", which sentence " +
                                std::to_string(sentenceId) + " lacks");
    }
}

void PageCheck::CheckNames(pugi::xml_node node, const char* attribute, const std::set<int32_t>& pool,
                           const char* what, const std::string& element) {
    const Value value = Attribute(node, attribute);
    const auto id = value ? ParseDecimal(*value) : std::nullopt;
    if (!id)
        Report(element, std::string("\"") + attribute + "\" is not a number");
    else if (!pool.count(*id))
        Report(element, std::string("\"") + attribute + "\" names " + what + " " + std::to_string(*id) +
                            ", which the page lacks");
}

}  // namespace ov
