#pragma once

#include <pugixml.hpp>

#include <initializer_list>
#include <optional>

#include "lesson/LessonRecords.h"

// Where each pool and section of a lesson document sits, as child positions
// below the document element. Documents are read by position only, so an
// element inserted before a section shifts every lookup behind it.
namespace ov::layout {

struct Path {
    int steps[3];
    int depth;
};

inline constexpr Path kAlls{{0, 0}, 2};
inline constexpr Path kAlli{{0, 1}, 2};
inline constexpr Path kAllButton{{0, 2}, 2};
inline constexpr Path kAllRadio{{0, 3}, 2};
inline constexpr Path kAllEdit{{0, 4}, 2};
inline constexpr Path kAllShape{{0, 5}, 2};
inline constexpr Path kAllFlash{{0, 6}, 2};
inline constexpr Path kOtherSentences{{1, 1, 0}, 3};
inline constexpr Path kOtherImages{{1, 1, 1}, 3};
inline constexpr Path kOtherButtons{{1, 1, 2}, 3};
inline constexpr Path kOtherEdits{{1, 1, 4}, 3};
inline constexpr Path kRoleActs{{1, 4, 0}, 3};
inline constexpr Path kGames{{1, 6}, 2};

// The section a kind names, among the sections that operations read.
std::optional<Path> SectionOf(TOVRule kind);

// The section of a rule kind's own rules (GetRule); nothing for kinds that have none.
std::optional<Path> RuleSection(TOVRule kind);

// The section of an exercise kind, when kind is one of `accepted`.
std::optional<Path> ExerciseSection(TOVRule kind, std::initializer_list<TOVRule> accepted);

// The pool of page elements of a control kind (picture, word, button, edit).
std::optional<Path> ControlPool(TOVRule controlKind);
// The rule group under "Others" of a control kind.
std::optional<Path> ControlRuleGroup(TOVRule controlKind);

pugi::xml_node Walk(pugi::xml_node root, const Path& path);
// A kind without a section (nothing) is a failure like a missing position.
pugi::xml_node Walk(pugi::xml_node root, const std::optional<Path>& path);

// Builds the empty lesson document under `document`.
void AppendLessonSkeleton(pugi::xml_node document);

}  // namespace ov::layout
