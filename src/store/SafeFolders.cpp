#include "store/SafeFolders.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

namespace ov {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

std::optional<std::vector<std::string>> SplitBelowPath(std::string_view path) {
    if (path.empty() || IsSeparator(path.front()) || IsDrive(path)) return std::nullopt;
    if (path.find('\0') != std::string_view::npos) return std::nullopt;
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string_view part = path.substr(start, end - start);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") components.emplace_back(part);
        start = end + 1;
    }
    if (components.empty()) return std::nullopt;
    return components;
}

UniqueFd OpenFolderBelow(int baseFd, std::span<const std::string> components) {
    UniqueFd current(::openat(baseFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& name : components) {
        if (!current) break;
        if (::mkdirat(current.get(), name.c_str(), 0777) != 0 && errno != EEXIST) return UniqueFd();
        current = UniqueFd(::openat(current.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current;
}

UniqueFd CreateFileBelow(int baseFd, std::span<const std::string> components) {
    if (components.empty()) {
        errno = EINVAL;
        return UniqueFd();
    }
    UniqueFd folder = OpenFolderBelow(baseFd, components.first(components.size() - 1));
    if (!folder) return folder;
    return UniqueFd(::openat(folder.get(), components.back().c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
}

UniqueFd OpenBaseFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace ov
