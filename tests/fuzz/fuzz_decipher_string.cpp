#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/CipherAndFiles.h"

// The first byte chooses the key length; the key and the hex text follow.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t keyLength = std::min<size_t>(data[0] % 16, input.size());
    std::string_view key = input.substr(0, keyLength);
    std::string_view text = input.substr(keyLength);
    try {
        std::string plain = ov::DecipherString(text, key);
        if (plain.size() != (text.size() < 4 ? 1 : text.size() / 2 - 1)) __builtin_trap();
    } catch (const ov::EConvertError&) {
    }
    return 0;
}
