#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/SiteManifest.h"

// A manifest from a server is taken whole or refused: what is taken lists only
// paths a cache may hold, and reads back the same once written.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ov::SiteManifest manifest;
    try {
        manifest = ov::ParseManifest(text);
    } catch (const ov::EManifestError&) {
        return 0;
    }
    for (const auto& file : manifest.files)
        if (!ov::IsSitePath(file.path)) __builtin_trap();
    const ov::SiteManifest again = ov::ParseManifest(ov::ManifestText(manifest));
    if (again.files != manifest.files || again.codes != manifest.codes) __builtin_trap();
    return 0;
}
