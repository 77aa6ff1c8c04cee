#pragma once

#include <filesystem>
#include <string>

namespace ov {

// The SHA-256 of a file's bytes as 64 lower-case hex digits. Throws
// std::filesystem::filesystem_error when it cannot be read.
std::string FileSha256(const std::filesystem::path& file);

}  // namespace ov
