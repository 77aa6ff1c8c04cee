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

// Whether `path`, its links followed as far as it exists, lies below the
// folder `base` really is.
bool StaysBelow(const std::filesystem::path& base, const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(base, ec);
    if (ec) return false;
    if (folder.filename().empty()) folder = folder.parent_path();
    const std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
    if (ec) return false;
    return std::mismatch(folder.begin(), folder.end(), real.begin(), real.end()).first == folder.end();
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

std::optional<std::filesystem::path> ResolveCoursewareName(const std::filesystem::path& base,
                                                           std::string_view relative) {
    std::filesystem::path result = base;
    bool resolving = true;
    bool throughLink = false;
    int depth = 0;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        std::string part(relative.substr(start, end - start));
        start = end + 1;
        if (part.empty() || part == ".") continue;
        std::error_code ec;
        // Stepping back is done on the path built so far, never left to the
        // file system, so a link on the way cannot make ".." land elsewhere.
        if (part == "..") {
            if (depth == 0) return std::nullopt;
            result = result.parent_path();
            --depth;
            resolving = std::filesystem::is_directory(result, ec);
            continue;
        }
        if (resolving && !std::filesystem::exists(std::filesystem::symlink_status(result / part, ec))) {
            if (auto match = FindIgnoringCase(result, part))
                part = *match;
            else
                resolving = false;  // nothing below a missing folder can exist
        }
        result /= part;
        ++depth;
        if (resolving && std::filesystem::is_symlink(std::filesystem::symlink_status(result, ec))) throughLink = true;
    }
    if (throughLink && !StaysBelow(base, result)) return std::nullopt;
    return result;
}

std::filesystem::path ResolveCoursewarePath(const std::filesystem::path& base, std::string_view relative) {
    return ResolveCoursewareName(base, relative).value_or(base);
}

}  // namespace ov
