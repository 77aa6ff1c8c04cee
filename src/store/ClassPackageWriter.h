#pragma once

#include <filesystem>

namespace ov {

// Writes a class package whose members are the regular files below `folder`,
// in byte order of their relative paths, named with "\" between folders in
// GBK. Throws EConvertError when a name cannot be stored (GBK lacks one of its
// characters, or it holds "\" or a line break) and EStreamError when a file
// cannot be read or written or the package would outgrow its 32-bit fields.
void WriteClassPackage(const std::filesystem::path& folder, const std::filesystem::path& package);

}  // namespace ov
