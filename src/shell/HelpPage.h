#pragma once

#include <filesystem>

namespace ov {

// The help the top bar opens: "ovhelp.chm" of the courseware folder when an
// old installation still has one, else our HTML page, looked for in the
// courseware folder, beside the program file and then in the installed
// tree's data folder. Empty when there is none.
std::filesystem::path FindHelpFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& executableFolder);

}  // namespace ov
