#include "core/TemporaryFolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace ov {

TemporaryFolder::TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix) {
    std::string pattern = (parent / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::filesystem::filesystem_error("cannot make a folder", parent, {errno, std::generic_category()});
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace ov
