#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// A digit pair that is not hexadecimal, or a text that cannot be enciphered.
class EConvertError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Opening, reading or writing a file failed.
class EStreamError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A container whose payload is not a whole number of cipher blocks.
class ECipherError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Used whenever a caller deciphers with an empty key.
inline constexpr std::string_view kDefaultCipherKey = "Kv#_@T^Wmo";

// Key types of page containers: AES-128, AES-192, AES-256.
enum class KeyType : int { Aes128 = 0, Aes192 = 1, Aes256 = 2 };

// Turns a stored hex string back into its bytes (GBK text). Throws EConvertError.
std::string DecipherString(std::string_view text, std::string_view key);

// The inverse for authoring: hex digits (upper case) that DecipherString turns
// back into `plain` with the same key, `seed` being the first byte. Throws
// EConvertError when no digits decipher to `plain` from that seed.
std::string EncipherString(std::string_view plain, std::string_view key, uint8_t seed);

// A signed decimal 32-bit integer written on its own ("+7", "-7", "7");
// nothing for anything else, an empty text too. Inline, as lesson pages read
// thousands of numbers each.
inline std::optional<int32_t> ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
        if (number > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -number : number);
}

// ParseDecimal that throws EConvertError, as stored texts are read.
int32_t StrToInt(std::string_view text);

// Bytes as upper-case hex digits, two per byte.
std::string HexText(std::string_view bytes);

// Decrypts a page container to its plain document. `keyType` is 0, 1 or 2.
// Throws EStreamError or ECipherError; on failure `destFile` is left as it was.
void DecryptFile(const std::filesystem::path& sourceFile, const std::filesystem::path& destFile,
                 std::string_view key, int keyType);

// DecryptFile for a container already in memory; returns the plain bytes.
std::string DecryptBuffer(std::string_view container, std::string_view key, int keyType);

// EncryptFile for bytes in memory; returns the container.
std::string EncryptBuffer(std::string_view plain, std::string_view key, int keyType);

// Writes the container that DecryptFile reads back into `plainFile`.
void EncryptFile(const std::filesystem::path& plainFile, const std::filesystem::path& containerFile,
                 std::string_view key, int keyType);

// Deletes every decrypted page (".ovb") in the folder tree except those named
// `keepName` (compared ignoring case, without folder). Reports nothing.
void DeleteStaleLessonFiles(const std::filesystem::path& folder, std::string_view keepName);

// Full paths of the files directly in the folder, sorted ignoring case;
// nothing when the folder has no entry at all or cannot be read.
std::optional<std::vector<std::string>> ListFiles(const std::filesystem::path& folder);

// Files and folders in the folder.
int CountEntries(const std::filesystem::path& folder);

// Deletes the folder and everything in it; true on success.
bool DeleteFolder(const std::filesystem::path& folder);

}  // namespace ov
