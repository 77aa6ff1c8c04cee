#include "shell/HelpPage.h"

#include "core/DataFolders.h"

#include <system_error>

namespace ov {

std::filesystem::path FindHelpFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& executableFolder) {
    for (const auto& candidate : {programFolder / "ovhelp.chm", programFolder / "ovhelp.html",
                                  executableFolder / "ovhelp.html",
                                  InstalledDataFolder(executableFolder) / "ovhelp.html"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return {};
}

}  // namespace ov
