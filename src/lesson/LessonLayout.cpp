#include "lesson/LessonLayout.h"

#include <algorithm>
#include <vector>

#include "lesson/XmlValue.h"

namespace ov::layout {
namespace {

struct Skeleton {
    const char* name;
    std::vector<Skeleton> children;
};

const Skeleton& LessonSkeleton() {
    static const Skeleton skeleton{
        "OVENG",
        {{"res",
          {{"alls", {}}, {"alli", {}}, {"allbutton", {}}, {"allradio", {}}, {"alledit", {}}, {"allShape", {}},
           {"allFlash", {}}}},
         {"rules",
          {{"Titles", {}},
           {"Others", {{"sentences", {}}, {"images", {}}, {"buttons", {}}, {"radios", {}}, {"edits", {}}}},
           {"Sencens", {}},
           {"Trainings",
            {{"WordFollowReads", {}},
             {"SentenceFollowReads", {}},
             {"WordFollowWrites", {}},
             {"SentenceFollowWrites", {}},
             {"ArrangeWords", {}},
             {"ArrangeSentences", {}},
             {"Discerns", {}}}},
           {"Entertains", {{"RoleActs", {}}, {"TitleRecites", {}}}},
           {"WordEden", {}},
           {"Games", {}},
           {"Musics", {}},
           {"Tests", {}},
           {"WorldExtends", {}},
           {"Importants", {}},
           {"Encampments", {}}}}}};
    return skeleton;
}

pugi::xml_node Append(pugi::xml_node parent, const Skeleton& node) {
    pugi::xml_node element = parent.append_child(node.name);
    for (const Skeleton& child : node.children) Append(element, child);
    return element;
}

}  // namespace

std::optional<Path> SectionOf(TOVRule kind) {
    switch (kind) {
        case rTitle: return Path{{1, 0}, 2};
        case rScene: return Path{{1, 2}, 2};
        case rWordFollowRead: return Path{{1, 3, 0}, 3};
        case rSentenceFollowRead: return Path{{1, 3, 1}, 3};
        case rWordFollowWrite: return Path{{1, 3, 2}, 3};
        case rSentenceFollowWrite: return Path{{1, 3, 3}, 3};
        case rArrangeWord: return Path{{1, 3, 4}, 3};
        case rArrangeSentence: return Path{{1, 3, 5}, 3};
        case rDiscern: return Path{{1, 3, 6}, 3};
        case rTitleRecite: return Path{{1, 4, 1}, 3};
        case rWordEden: return Path{{1, 5}, 2};
        case rGames: return kGames;
        case rMusic: return Path{{1, 7}, 2};
        case rTest: return Path{{1, 8}, 2};
        case rWorldExtend: return Path{{1, 9}, 2};
        default: return std::nullopt;
    }
}

std::optional<Path> RuleSection(TOVRule kind) {
    switch (kind) {
        case rArrangeWord:
        case rArrangeSentence:
        case rDiscern: return std::nullopt;
        default: return SectionOf(kind);
    }
}

std::optional<Path> ExerciseSection(TOVRule kind, std::initializer_list<TOVRule> accepted) {
    if (std::find(accepted.begin(), accepted.end(), kind) == accepted.end()) return std::nullopt;
    return SectionOf(kind);
}

std::optional<Path> ControlPool(TOVRule controlKind) {
    switch (controlKind) {
        case rImage: return kAlli;
        case rLabel: return kAlls;
        case rButton: return kAllButton;
        case rEdit: return kAllEdit;
        default: return std::nullopt;
    }
}

std::optional<Path> ControlRuleGroup(TOVRule controlKind) {
    switch (controlKind) {
        case rImage: return kOtherImages;
        case rLabel: return kOtherSentences;
        case rButton: return kOtherButtons;
        case rEdit: return kOtherEdits;
        default: return std::nullopt;
    }
}

pugi::xml_node Walk(pugi::xml_node root, const Path& path) {
    pugi::xml_node node = root;
    for (int i = 0; i < path.depth; ++i) node = xml::Child(node, path.steps[i]);
    return node;
}

pugi::xml_node Walk(pugi::xml_node root, const std::optional<Path>& path) {
    if (!path) throw xml::XmlFailure("no section for this kind");
    return Walk(root, *path);
}

void AppendLessonSkeleton(pugi::xml_node document) {
    Append(document, LessonSkeleton()).append_attribute("ver") = "6.0";
}

}  // namespace ov::layout
