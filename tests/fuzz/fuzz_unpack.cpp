#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/ClassZip.h"

// The input is a package; every run unpacks into a fresh folder beside it and
// checks that nothing appeared next to that folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("ovfuzz-unpack-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    const auto package = folder / "package.ovpk";
    const auto destination = folder / "dest";
    {
        std::ofstream out(package, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ov::TClassZip zip;
    zip.FinalPauseMs = 0;
    zip.Unpack(package.string(), destination.string(), nullptr);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename();
        if (name != "package.ovpk" && name != "dest") __builtin_trap();
    }
    std::filesystem::remove_all(destination);
    return 0;
}
