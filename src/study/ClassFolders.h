#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace ov {

// A capital letter A to Z, drawn again until it differs from both letters
// in use, so the lessons opened last and before it keep their folders.
char DrawFolderLetter(std::string_view newFolder, std::string_view oldFolder, std::mt19937& random);

// Deletes every plain sub-folder of the resources folder except the two
// letter folders in use, whatever its name. A symbolic link, a hidden (dot)
// folder and a folder we may not write are left alone; a link is never
// followed, so nothing outside the resources folder can be deleted.
void DeleteStaleClassFolders(const std::filesystem::path& resources, std::string_view newFolder,
                             std::string_view oldFolder);

}  // namespace ov
