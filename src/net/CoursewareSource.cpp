#include "net/CoursewareSource.h"

#include <cstdlib>

#include "net/HttpFetch.h"

namespace ov {

std::string ChooseCoursewareUrl(const char* environment, std::string_view stored) {
    std::string url(environment && *environment ? std::string_view(environment) : stored);
    while (url.ends_with('/')) url.pop_back();
    return url;
}

std::optional<std::string> WhyNotCoursewareUrl(std::string_view url) {
    if (UrlScheme(url).empty()) return "a courseware server's URL starts with http:// or https://";
    if (url.size() <= UrlScheme(url).size() + 3) return "the URL names no server";
    for (const char c : url)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return "the URL holds a space or control character";
    if (url.find_first_of("?#") != std::string_view::npos) return "the URL of a site has no query or fragment";
    return std::nullopt;
}

std::filesystem::path CoursewareCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/') return std::filesystem::path(cache) / "ovplayer";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/tmp") / ".cache" / "ovplayer";
}

}  // namespace ov
