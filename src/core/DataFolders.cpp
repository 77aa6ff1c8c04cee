#include "core/DataFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace ov {
namespace {

constexpr const char* kFolderName = "ovplayer";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    if (std::string home = Variable("HOME"); !home.empty()) return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// A folder we could write: the folder itself, or for one still missing the
// nearest folder above it that exists.
bool MayWrite(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path probe = folder;
    while (!std::filesystem::exists(probe, ec) && probe.has_relative_path()) probe = probe.parent_path();
    return ::access(probe.c_str(), W_OK) == 0;
}

bool HoldsCourseware(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder / "DB", ec) || std::filesystem::is_directory(folder / "Resources", ec);
}

// The XDG rules ignore relative entries: they would depend on where the
// program happens to be started.
std::filesystem::path AbsoluteOrEmpty(std::string_view text) {
    std::filesystem::path path(text);
    return path.is_absolute() ? path.lexically_normal() : std::filesystem::path();
}

void AddOnce(std::vector<std::filesystem::path>& folders, const std::filesystem::path& folder) {
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
}

}  // namespace

FolderEnvironment FolderEnvironment::Current() {
    return {Variable("OV_HOME"),       ExecutableFolder(), Variable("XDG_DATA_HOME"),
            Variable("XDG_DATA_DIRS"), HomeFolder(),       MayWrite};
}

std::filesystem::path UserDataFolder(const FolderEnvironment& environment) {
    std::filesystem::path base = AbsoluteOrEmpty(environment.dataHome);
    if (base.empty()) base = std::filesystem::path(environment.home) / ".local" / "share";
    return (base / kFolderName).lexically_normal();
}

std::vector<std::filesystem::path> SystemDataFolders(const FolderEnvironment& environment) {
    const std::string_view dirs =
        environment.dataDirs.empty() ? std::string_view("/usr/local/share/:/usr/share/") : environment.dataDirs;
    std::vector<std::filesystem::path> folders;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (auto base = AbsoluteOrEmpty(dirs.substr(start, end - start)); !base.empty())
            AddOnce(folders, (base / kFolderName).lexically_normal());
        start = end + 1;
    }
    return folders;
}

std::filesystem::path SystemInstallFolder(const FolderEnvironment& environment) {
    const auto folders = SystemDataFolders(environment);
    const std::filesystem::path local = std::filesystem::path("/usr/local/share") / kFolderName;
    if (std::find(folders.begin(), folders.end(), local) != folders.end()) return local;
    return folders.empty() ? std::filesystem::path() : folders.front();
}

std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder) {
    return (executableFolder.parent_path() / "share" / kFolderName).lexically_normal();
}

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path();
    return exe.parent_path();
}

DataFolders DataFolders::Find(const FolderEnvironment& environment) {
    DataFolders found;
    const std::filesystem::path user = UserDataFolder(environment);
    std::filesystem::path single;
    if (!environment.ovHome.empty())
        single = std::filesystem::absolute(environment.ovHome).lexically_normal();
    else if (HoldsCourseware(environment.executableFolder))
        single = environment.executableFolder;
    if (!single.empty()) {
        found.courseware_ = {single};
        found.writable_ = environment.writable(single) ? single : user;
        return found;
    }
    std::vector<std::filesystem::path> searched = {user};
    for (const auto& folder : SystemDataFolders(environment)) AddOnce(searched, folder);
    for (const auto& folder : searched)
        if (HoldsCourseware(folder)) found.courseware_.push_back(folder);
    if (found.courseware_.empty()) found.courseware_ = {user};
    found.writable_ = user;
    return found;
}

DataFolders DataFolders::InOneFolder(const std::filesystem::path& folder) {
    DataFolders found;
    found.courseware_ = {folder};
    found.writable_ = folder;
    return found;
}

DataFolders DataFolders::WithLowest(const std::filesystem::path& folder) const {
    DataFolders folders = *this;
    folders.courseware_.push_back(folder);
    return folders;
}

const std::filesystem::path& DataFolders::Holding(const std::filesystem::path& relative) const {
    for (const auto& folder : courseware_) {
        std::error_code ec;
        if (std::filesystem::exists(folder / relative, ec)) return folder;
    }
    return Primary();
}

std::vector<std::filesystem::path> DataFolders::Existing(const std::filesystem::path& relative) const {
    std::vector<std::filesystem::path> paths;
    for (const auto& folder : courseware_) {
        std::error_code ec;
        if (std::filesystem::exists(folder / relative, ec)) paths.push_back(folder / relative);
    }
    return paths;
}

}  // namespace ov
