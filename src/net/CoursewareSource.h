#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

// The player's setting that names the courseware server.
inline constexpr std::string_view kCoursewareUrlKey = "CoursewareUrl";
// Overrides the setting for one run (a test, a teacher trying a server).
inline constexpr const char* kCoursewareUrlVariable = "OV_COURSEWARE_URL";

// The courseware server's URL: `environment` when set and not empty, else
// `stored`; without trailing slashes.
std::string ChooseCoursewareUrl(const char* environment, std::string_view stored);
// Why a URL cannot name a courseware server; nothing when it can.
std::optional<std::string> WhyNotCoursewareUrl(std::string_view url);
// Where files from the server are kept: $XDG_CACHE_HOME/ovplayer, by default
// ~/.cache/ovplayer.
std::filesystem::path CoursewareCacheFolder();

}  // namespace ov
