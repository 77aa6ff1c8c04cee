#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ovtest {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its folders.
void WriteFile(const std::filesystem::path& file, std::string_view bytes);
// The whole file; throws when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);
// A file of the source tree's tests/fixtures folder.
std::filesystem::path Fixture(const std::string& name);

}  // namespace ovtest
