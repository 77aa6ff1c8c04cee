#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/UntPublic.h"

// The first byte chooses the key type; the rest is the container.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("ovfuzz-decrypt-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    const auto source = folder / "page.ov";
    const auto dest = folder / "page.ovb";
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
    }
    try {
        ov::DecryptFile(source, dest, "fuzz-key", data[0] % 3);
        if (std::filesystem::file_size(dest) > size) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
