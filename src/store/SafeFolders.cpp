#include "store/SafeFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace ov {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// A link to a folder is refused as "not a folder" too; the caller wants to
// know it was a link.
int NotAFolder(int folderFd, const char* name) {
    struct stat entry {};
    return ::fstatat(folderFd, name, &entry, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(entry.st_mode) ? ELOOP : ENOTDIR;
}

// Truncating a file in place would write through a hard link planted from
// outside, and opening a FIFO or a device would block or talk to hardware: an
// old regular file is unlinked, anything else but a file is left alone and
// refused (errno as WhyNotCreated reads it).
bool RemoveOldFile(int folderFd, const char* name) {
    struct stat old {};
    if (::fstatat(folderFd, name, &old, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (S_ISREG(old.st_mode)) return ::unlinkat(folderFd, name, 0) == 0 || errno == ENOENT;
    errno = S_ISLNK(old.st_mode) ? ELOOP : S_ISDIR(old.st_mode) ? EISDIR : EEXIST;
    return false;
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
        UniqueFd next(::openat(current.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next && errno == ENOTDIR) errno = NotAFolder(current.get(), name.c_str());
        current = std::move(next);
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
    const char* name = components.back().c_str();
    if (!RemoveOldFile(folder.get(), name)) return UniqueFd();
    return UniqueFd(::openat(folder.get(), name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
}

std::string WhyNotCreated(int error) {
    switch (error) {
    case ELOOP: return "a symbolic link stands in the way";
    case EISDIR: return "a folder stands where a file goes";
    case ENOTDIR: return "a file stands where a folder goes";
    case EEXIST: return "a special file stands in the way";
    case ENAMETOOLONG: return "name too long";
    default: return std::strerror(error);
    }
}

UniqueFd OpenBaseFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace ov
