#include "core/ProgramFolder.h"

#include <cstdlib>
#include <system_error>

namespace ov {

std::filesystem::path ProgramFolder() {
    if (const char* home = std::getenv("OV_HOME"); home && *home)
        return std::filesystem::absolute(home).lexically_normal();
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path();
    return exe.parent_path();
}

}  // namespace ov
