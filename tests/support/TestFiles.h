#pragma once

#include "core/TemporaryFolder.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ovtest {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir() : folder_(std::filesystem::temp_directory_path(), "ovtest-") {}

    const std::filesystem::path& path() const { return folder_.Path(); }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return path() / relative; }

private:
    ov::TemporaryFolder folder_;
};

// Writes bytes to a file, creating its folders.
void WriteFile(const std::filesystem::path& file, std::string_view bytes);
// The whole file; throws when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);
// A file of the source tree's tests/fixtures folder.
std::filesystem::path Fixture(const std::string& name);

}  // namespace ovtest
