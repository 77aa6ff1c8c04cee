#pragma once

#include <filesystem>

namespace ov {

// The help the top bar opens: "ovhelp.chm" of the program folder when an old
// installation still has one, else our HTML page, looked for in the program
// folder and then beside the program file. Empty when there is none.
std::filesystem::path FindHelpFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& executableFolder);

}  // namespace ov
