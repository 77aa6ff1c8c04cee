#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "FuzzFiles.h"
#include "store/CipherAndFiles.h"

// The first byte chooses the key type; the rest is the container.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto& folder = ovfuzz::ScratchFolder("decrypt");
    const auto source = folder / "page.ov";
    const auto dest = folder / "page.ovb";
    ovfuzz::WriteBytes(source, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    try {
        ov::DecryptFile(source, dest, "fuzz-key", data[0] % 3);
        if (std::filesystem::file_size(dest) > size) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
