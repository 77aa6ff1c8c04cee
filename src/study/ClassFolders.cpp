#include "study/ClassFolders.h"

#include "store/CipherAndFiles.h"

#include <unistd.h>

#include <system_error>

namespace ov {
namespace {

// Our stand-in for a folder without any attribute but the directory one.
bool IsPlainFolder(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (entry.is_symlink(ec) || !entry.is_directory(ec)) return false;
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.front() == '.') return false;
    return ::access(entry.path().c_str(), W_OK) == 0;
}

}  // namespace

char DrawFolderLetter(std::string_view newFolder, std::string_view oldFolder, std::mt19937& random) {
    std::uniform_int_distribution<int> letters('A', 'Z');
    for (;;) {
        const std::string letter(1, static_cast<char>(letters(random)));
        if (letter != newFolder && letter != oldFolder) return letter.front();
    }
}

void DeleteStaleClassFolders(const std::filesystem::path& resources, std::string_view newFolder,
                             std::string_view oldFolder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(resources, ec);
    if (ec) return;
    for (const auto& entry : it) {
        if (!IsPlainFolder(entry)) continue;
        const std::string name = entry.path().filename().string();
        if (name == newFolder || name == oldFolder) continue;
        DeleteFolder(entry.path());
    }
}

}  // namespace ov
