#include "store/CipherAndFiles.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/CoursewarePath.h"

namespace ov {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A decrypted page copy by its extension, compared without case and trimmed of
// blanks and control characters (only its end can hold any: it starts with the
// dot); a blank inside it makes it another extension.
bool IsLessonPageCopy(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string_view ext = name.substr(dot);
    while (!ext.empty() && IsBlankOrControl(ext.back())) ext.remove_suffix(1);
    return AsciiLower(ext) == ".ovb";
}

// One or two digits read as a number; a pair cut short by the end of the text
// is read as far as it goes, and nothing at all is an error.
uint8_t ReadPair(std::string_view text, size_t pos) {
    std::string_view pair = pos < text.size() ? text.substr(pos, 2) : std::string_view{};
    if (pair.empty()) throw EConvertError("'$' is not a valid integer value");
    int value = 0;
    for (char c : pair) {
        int digit = HexDigit(c);
        if (digit < 0) throw EConvertError("'$" + std::string(pair) + "' is not a valid integer value");
        value = value * 16 + digit;
    }
    return static_cast<uint8_t>(value);
}

// The key character used for the j-th character (from 0): an empty key means
// the default key's first character throughout.
uint8_t KeyByte(std::string_view key, size_t j) {
    if (key.empty()) return static_cast<uint8_t>(kDefaultCipherKey[0]);
    return static_cast<uint8_t>(key[j % key.size()]);
}

// Values x (the enciphered byte XOR the key) that decipher to `out` after `prev`.
std::array<int, 2> Preimages(uint8_t out, uint8_t prev) {
    std::array<int, 2> xs{-1, -1};
    int sum = out + prev;
    if (out >= 1 && sum <= 255) xs[0] = sum;
    if (sum >= 255) xs[1] = sum - 255;
    return xs;
}

void AppendHex(std::string& out, uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace

// Hand-written rather than std::from_chars, which refuses a leading "+"; a
// page reads thousands of these, and the loop is several times quicker.
int32_t StrToInt(std::string_view text) {
    auto value = ParseDecimal(text);
    if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return *value;
}

std::string HexText(std::string_view bytes) {
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (char c : bytes) AppendHex(hex, static_cast<uint8_t>(c));
    return hex;
}

std::string DecipherString(std::string_view text, std::string_view key) {
    uint8_t prev = ReadPair(text, 0);
    std::string result;
    result.reserve(text.size() / 2);
    size_t pos = 2;  // zero-based start of the second pair
    size_t j = 0;
    do {
        uint8_t c = ReadPair(text, pos);
        int x = c ^ KeyByte(key, j++);
        // 255, not 256: an x equal to prev gives 255 and an x of 0 after 255 gives 0.
        result += static_cast<char>(x > prev ? x - prev : x + 255 - prev);
        prev = c;
        pos += 2;
    } while (pos + 1 < text.size());  // a trailing single digit is ignored
    return result;
}

std::string EncipherString(std::string_view plain, std::string_view key, uint8_t seed) {
    if (plain.empty()) throw EConvertError("an enciphered string holds at least one character");
    const size_t n = plain.size();
    // reachable[j][p]: the characters from j on can be enciphered when the
    // previous enciphered byte is p. Filled from the end, then walked forwards.
    std::vector<std::array<bool, 256>> reachable(n + 1);
    reachable[n].fill(true);
    for (size_t j = n; j-- > 0;) {
        for (int p = 0; p < 256; ++p) {
            bool ok = false;
            for (int x : Preimages(static_cast<uint8_t>(plain[j]), static_cast<uint8_t>(p)))
                ok = ok || (x >= 0 && reachable[j + 1][x ^ KeyByte(key, j)]);
            reachable[j][p] = ok;
        }
    }
    if (!reachable[0][seed]) throw EConvertError("the text cannot be enciphered from this seed");
    std::string hex;
    hex.reserve(2 * (n + 1));
    AppendHex(hex, seed);
    uint8_t prev = seed;
    for (size_t j = 0; j < n; ++j) {
        for (int x : Preimages(static_cast<uint8_t>(plain[j]), prev)) {
            if (x < 0) continue;
            auto c = static_cast<uint8_t>(x ^ KeyByte(key, j));
            if (!reachable[j + 1][c]) continue;
            AppendHex(hex, c);
            prev = c;
            break;
        }
    }
    return hex;
}

void DeleteStaleLessonFiles(const std::filesystem::path& folder, std::string_view keepName) {
    const std::string keep = AsciiLower(keepName);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        auto status = it->symlink_status(statError);
        if (statError) continue;
        // A linked folder is not part of this lesson's tree; never sweep through it.
        if (std::filesystem::is_directory(status)) {
            DeleteStaleLessonFiles(it->path(), keepName);
            continue;
        }
        const std::string name = it->path().filename().string();
        if (IsLessonPageCopy(name) && AsciiLower(name) != keep) {
            std::error_code removeError;
            std::filesystem::remove(it->path(), removeError);
        }
    }
}

std::optional<std::vector<std::string>> ListFiles(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec || it == std::filesystem::directory_iterator()) return std::nullopt;
    std::vector<std::string> files;
    for (std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        if (!it->is_directory(statError)) files.push_back((folder / it->path().filename()).string());
    }
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        std::string la = AsciiLower(a), lb = AsciiLower(b);
        return la != lb ? la < lb : a < b;
    });
    return files;
}

int CountEntries(const std::filesystem::path& folder) {
    int count = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++count;
    return count;
}

bool DeleteFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(folder, ec))) return false;
    std::filesystem::remove_all(folder, ec);
    return !ec;
}

}  // namespace ov
