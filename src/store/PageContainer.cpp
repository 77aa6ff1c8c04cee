// Page containers: an 8-byte little-endian plain length, then AES-ECB blocks.
#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/UniqueFd.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

constexpr size_t kBlock = 16;
// Large chunks: one EVP call per block is several times slower.
constexpr size_t kChunk = 64 * 1024;

const EVP_CIPHER* CipherFor(int keyType) {
    switch (keyType) {
    case 0: return EVP_aes_128_ecb();
    case 1: return EVP_aes_192_ecb();
    case 2: return EVP_aes_256_ecb();
    default: throw ECipherError("Invalid key type " + std::to_string(keyType));
    }
}

// The key string's bytes, cut to the key size or filled up with zero bytes.
std::vector<unsigned char> KeyBuffer(std::string_view key, int keyType) {
    std::vector<unsigned char> buffer(16 + 8 * static_cast<size_t>(keyType), 0);
    std::memcpy(buffer.data(), key.data(), std::min(key.size(), buffer.size()));
    return buffer;
}

struct CipherContext {
    CipherContext(std::string_view key, int keyType, bool encrypt) {
        const EVP_CIPHER* cipher = CipherFor(keyType);
        auto keyBytes = KeyBuffer(key, keyType);
        if (!ctx || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, keyBytes.data(), nullptr, encrypt ? 1 : 0) != 1)
            throw ECipherError("Cannot set up the cipher");
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    }
    void Run(unsigned char* data, size_t size) {
        int outLength = 0;
        if (EVP_CipherUpdate(ctx.get(), data, &outLength, data, static_cast<int>(size)) != 1 ||
            static_cast<size_t>(outLength) != size)
            throw ECipherError("Cipher failure");
    }
    // A buffer of any number of whole blocks, in large chunks.
    void RunAll(unsigned char* data, size_t size) {
        for (size_t done = 0; done < size; done += kChunk) Run(data + done, std::min(kChunk, size - done));
    }
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx{EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free};
};

UniqueFd OpenForReading(const std::filesystem::path& file) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw EStreamError("Cannot open file \"" + file.string() + "\". " + std::strerror(errno));
    return fd;
}

UniqueFd CreateForWriting(const std::filesystem::path& file) {
    UniqueFd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd) throw EStreamError("Cannot create file \"" + file.string() + "\". " + std::strerror(errno));
    return fd;
}

// The plain page is written beside its destination under a name of its own and
// renamed over it once complete, so a failed decryption never leaves a
// truncated page where a good one was.
class PendingFile {
public:
    explicit PendingFile(const std::filesystem::path& destFile) : dest_(destFile) {
        for (int attempt = 0; !fd_ && attempt < 100; ++attempt) {
            path_ = destFile;
            path_ += ".decrypting-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            fd_.reset(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
            if (!fd_ && errno != EEXIST) break;
        }
        if (!fd_) throw EStreamError("Cannot create file \"" + destFile.string() + "\". " + std::strerror(errno));
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    int get() const { return fd_.get(); }

    void Commit() {
        fd_.reset();
        if (::rename(path_.c_str(), dest_.c_str()) != 0)
            throw EStreamError("Cannot create file \"" + dest_.string() + "\". " + std::strerror(errno));
        path_.clear();
    }

private:
    std::filesystem::path dest_;
    std::filesystem::path path_;
    UniqueFd fd_;
};

uint64_t FileSize(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw EStreamError("Stream read error");
    return static_cast<uint64_t>(st.st_size);
}

uint64_t StoredPlainLength(const unsigned char* lengthField) {
    uint64_t plainLength = 0;
    for (int i = 7; i >= 0; --i) plainLength = (plainLength << 8) | lengthField[i];
    return plainLength;
}

// A stored length beyond the payload would pad the page with bytes that were
// never in it (and an absurd one would fill the disk): refuse it like a bad size.
void CheckPayload(uint64_t payload, uint64_t plainLength) {
    if (payload == 0 || payload % kBlock != 0 || plainLength > payload)
        throw ECipherError("Invalid buffer size for decryption");
}

std::array<unsigned char, 8> LengthField(uint64_t plainLength) {
    std::array<unsigned char, 8> field{};
    for (int i = 0; i < 8; ++i) field[i] = static_cast<unsigned char>(plainLength >> (8 * i));
    return field;
}

// An empty document still gets one block: a container without payload is invalid.
uint64_t PayloadSize(uint64_t plainLength) {
    return std::max<uint64_t>(kBlock, (plainLength + kBlock - 1) / kBlock * kBlock);
}

}  // namespace

void DecryptFile(const std::filesystem::path& sourceFile, const std::filesystem::path& destFile,
                 std::string_view key, int keyType) {
    UniqueFd source = OpenForReading(sourceFile);
    const uint64_t fileSize = FileSize(source.get());
    unsigned char lengthField[8];
    if (ReadFull(source.get(), lengthField, 8) != 8) throw EStreamError("Stream read error");
    const uint64_t plainLength = StoredPlainLength(lengthField);
    CipherContext cipher(key, keyType, false);
    const uint64_t payload = fileSize - 8;
    CheckPayload(payload, plainLength);
    PendingFile dest(destFile);

    std::vector<unsigned char> buffer(kChunk);
    for (uint64_t left = payload; left > 0;) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
        if (ReadFull(source.get(), buffer.data(), want) != want) throw EStreamError("Stream read error");
        cipher.Run(buffer.data(), want);
        if (WriteFull(dest.get(), buffer.data(), want) != want) throw EStreamError("Stream write error");
        left -= want;
    }
    if (::ftruncate(dest.get(), static_cast<off_t>(plainLength)) != 0) throw EStreamError("Stream write error");
    dest.Commit();
}

std::string DecryptBuffer(std::string_view container, std::string_view key, int keyType) {
    if (container.size() < 8) throw EStreamError("Stream read error");
    const uint64_t plainLength = StoredPlainLength(reinterpret_cast<const unsigned char*>(container.data()));
    CipherContext cipher(key, keyType, false);
    CheckPayload(container.size() - 8, plainLength);
    std::string plain(container.substr(8));
    cipher.RunAll(reinterpret_cast<unsigned char*>(plain.data()), plain.size());
    plain.resize(static_cast<size_t>(plainLength));
    return plain;
}

std::string EncryptBuffer(std::string_view plain, std::string_view key, int keyType) {
    CipherContext cipher(key, keyType, true);
    const auto lengthField = LengthField(plain.size());
    std::string container(lengthField.begin(), lengthField.end());
    container.append(plain);
    container.resize(8 + static_cast<size_t>(PayloadSize(plain.size())), '\0');
    cipher.RunAll(reinterpret_cast<unsigned char*>(container.data()) + 8, container.size() - 8);
    return container;
}

void EncryptFile(const std::filesystem::path& plainFile, const std::filesystem::path& containerFile,
                 std::string_view key, int keyType) {
    UniqueFd source = OpenForReading(plainFile);
    const uint64_t plainLength = FileSize(source.get());
    CipherContext cipher(key, keyType, true);
    UniqueFd dest = CreateForWriting(containerFile);

    const auto lengthField = LengthField(plainLength);
    if (WriteFull(dest.get(), lengthField.data(), 8) != 8) throw EStreamError("Stream write error");

    const uint64_t payload = PayloadSize(plainLength);
    std::vector<unsigned char> buffer(kChunk);
    for (uint64_t left = payload, plainLeft = plainLength; left > 0;) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
        size_t plainWant = static_cast<size_t>(std::min<uint64_t>(plainLeft, want));
        if (ReadFull(source.get(), buffer.data(), plainWant) != plainWant) throw EStreamError("Stream read error");
        std::memset(buffer.data() + plainWant, 0, want - plainWant);
        cipher.Run(buffer.data(), want);
        if (WriteFull(dest.get(), buffer.data(), want) != want) throw EStreamError("Stream write error");
        left -= want;
        plainLeft -= plainWant;
    }
}

}  // namespace ov
