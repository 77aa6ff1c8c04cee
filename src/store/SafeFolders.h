#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/UniqueFd.h"

namespace ov {

// The components of a path that must stay below the folder it is joined to,
// split on "\" and "/" with empty and "." parts dropped. Nothing when the path
// has no component, is absolute (a leading separator or a drive "X:"), or holds
// a ".." or a NUL: such a path names something outside its folder or a file
// other than the one it spells.
std::optional<std::vector<std::string>> SplitBelowPath(std::string_view path);

// Opens the folder `components` below `baseFd`, creating what is missing. A
// link anywhere below `baseFd` is refused, so the walk cannot be diverted
// outside it; `baseFd` itself may have been reached through links. An invalid
// descriptor (errno set) on failure.
UniqueFd OpenFolderBelow(int baseFd, std::span<const std::string> components);

// Creates the file whose path below `baseFd` is `components` (the last one is
// the file name) as a new file, creating its folders as OpenFolderBelow does.
// An old regular file of that name is replaced, never written into; a link,
// folder or special file there is refused.
UniqueFd CreateFileBelow(int baseFd, std::span<const std::string> components);

// Why OpenFolderBelow or CreateFileBelow failed, from the errno they left.
std::string WhyNotCreated(int error);

// Opens `folder` as the base of a walk, creating it and its parents first.
UniqueFd OpenBaseFolder(const std::string& folder);

}  // namespace ov
