// The play scripts of clicked elements, of study functions and of roles.
#include "lesson/LessonDocument.h"
#include "lesson/LessonLayout.h"
#include "lesson/XmlValue.h"

namespace ov {

using namespace xml;

bool LessonDocument::HasRules() {
    bool has = true;  // when in doubt, the page behaves as one with rules
    Run([&](pugi::xml_node root) { has = static_cast<bool>(layout::Walk(root, layout::kOtherSentences).first_child()); });
    return has;
}

int32_t LessonDocument::GetPoolRuleId(TOVRule controlKind, int32_t elementId) {
    int32_t ruleId = 0;
    const auto pool = layout::ControlPool(controlKind);
    if (!pool) return ruleId;
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node element = FindById(layout::Walk(root, *pool), elementId))
            ruleId = IntegerAttribute(element, "RuleId");
    });
    return ruleId;
}

void LessonDocument::FindRule(TOVRule kind, TOVRule controlKind, int32_t elementId, TRule& output) {
    Run([&](pugi::xml_node root) {
        // An element missing from its pool leads to the rule with Id 0.
        const int32_t ruleId = GetPoolRuleId(controlKind, elementId);
        const auto group = layout::ControlRuleGroup(controlKind);
        if (kind != rOthers || !group) return;
        if (pugi::xml_node rule = FindById(layout::Walk(root, *group), ruleId)) {
            output.Kind = kind;
            output.Id = ruleId;
            output.Text = TextOf(rule);
        }
    });
}

void LessonDocument::GetRule(TOVRule kind, int32_t id, TRule& output) {
    const auto section = layout::RuleSection(kind);
    if (!section) return;
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node rule = FindById(layout::Walk(root, *section), id)) {
            output.Kind = kind;
            output.Id = id;
            output.Text = TextOf(rule);
        }
    });
}

std::optional<std::vector<std::string>> LessonDocument::GetRoles() {
    std::vector<std::string> roles;
    const bool complete = Run([&](pugi::xml_node root) {
        for (pugi::xml_node role : layout::Walk(root, layout::kRoleActs).children())
            roles.push_back(TextAttribute(role, "Role"));
    });
    if (!complete && FExists) return std::nullopt;
    return roles;
}

void LessonDocument::GetRoleRule(const std::string& role, TRule& output) {
    Run([&](pugi::xml_node root) {
        for (pugi::xml_node element : layout::Walk(root, layout::kRoleActs).children()) {
            if (!EqualsText(Attribute(element, "Role"), role)) continue;
            output.Kind = rRoleAct;
            output.Role = role;
            output.Text = TextOf(element);
            return;
        }
    });
}

}  // namespace ov
