#include "core/CoursewarePath.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

namespace ov {
namespace {

std::optional<std::string> FindIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    const std::string wanted = AsciiLower(name);
    std::optional<std::string> best;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (AsciiLower(candidate) == wanted && (!best || candidate < *best)) best = std::move(candidate);
    }
    return best;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return out;
}

std::filesystem::path ResolveCoursewarePath(const std::filesystem::path& base, std::string_view relative) {
    std::filesystem::path result = base;
    bool resolving = true;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        std::string part(relative.substr(start, end - start));
        start = end + 1;
        if (part.empty() || part == ".") continue;
        std::error_code ec;
        if (resolving && !std::filesystem::exists(std::filesystem::symlink_status(result / part, ec))) {
            if (auto match = FindIgnoringCase(result, part))
                part = *match;
            else
                resolving = false;  // nothing below a missing folder can exist
        }
        result /= part;
    }
    return result;
}

}  // namespace ov
