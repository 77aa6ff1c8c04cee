#include "support/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ovtest {

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::filesystem::path Fixture(const std::string& name) {
    const char* source = std::getenv("OV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests" / "fixtures" / name;
}

}  // namespace ovtest
