#include "net/FileDigest.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <vector>

namespace ov {

std::string FileSha256(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::filesystem::filesystem_error("cannot read", file, std::make_error_code(std::errc::io_error));
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr);
    std::vector<char> block(1 << 20);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        EVP_DigestUpdate(context.get(), block.data(), static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) throw std::filesystem::filesystem_error("cannot read", file, std::make_error_code(std::errc::io_error));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context.get(), digest, &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

}  // namespace ov
