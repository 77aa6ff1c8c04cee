#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <string>

#include "FuzzFiles.h"
#include "store/ClassZip.h"

// The input is a package; every run unpacks into a fresh folder beside it and
// checks that nothing appeared next to that folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto& folder = ovfuzz::ScratchFolder("unpack");
    const auto package = folder / "package.ovpk";
    const auto destination = folder / "dest";
    ovfuzz::WriteBytes(package, std::string_view(reinterpret_cast<const char*>(data), size));
    ov::TClassZip zip;
    zip.Unpack(package.string(), destination.string(), nullptr);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename();
        if (name != "package.ovpk" && name != "dest") __builtin_trap();
    }
    std::filesystem::remove_all(destination);
    return 0;
}
