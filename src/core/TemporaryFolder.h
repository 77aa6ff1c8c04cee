#pragma once

#include <filesystem>
#include <string_view>

namespace ov {

// A fresh folder "<prefix>XXXXXX" below `parent`, removed with everything in
// it when the object goes.
class TemporaryFolder {
public:
    // Throws std::filesystem::filesystem_error when it cannot be made.
    TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace ov
