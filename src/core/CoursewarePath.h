#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

// Courseware was made on a case-blind file system: lessons name their files
// with any case and with "\" between folders. Resolves `relative` (either
// separator) under `base` component by component; a component that does not
// exist exactly is matched ignoring ASCII case (the first match in byte order
// when several differ only in case). Components that match nothing are kept
// as written, so the result can also name a file about to be created.
// A lesson is not trusted to stay in its folder: nothing when `relative`
// leaves `base`, by ".." parts or through a link that leads outside it.
std::optional<std::filesystem::path> ResolveCoursewareName(const std::filesystem::path& base,
                                                           std::string_view relative);
// The same, with `base` itself for a name that leaves it: a folder, which
// every reader of a file takes for a missing file.
std::filesystem::path ResolveCoursewarePath(const std::filesystem::path& base, std::string_view relative);

// Lower-cases ASCII letters only; GBK and UTF-8 bytes above 0x7F are left alone.
std::string AsciiLower(std::string_view text);
// Upper-cases ASCII letters only, as answers are compared.
std::string AsciiUpper(std::string_view text);

}  // namespace ov
