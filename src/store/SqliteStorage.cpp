#include "store/SqliteStorage.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <system_error>

#include "core/UniqueFd.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};
constexpr int kContainerKeyType = 0;
// Catalogues and word databases are small; a container is read and decrypted
// whole, so a larger one (even a sparse file, taking no disk) would cost
// twice its size in memory.
constexpr std::uintmax_t kLargestContainer = std::uintmax_t{256} << 20;

std::string ReadWhole(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::file_size(file, error) > kLargestContainer && !error)
        throw ESqliteError("Cannot open database \"" + file.string() + "\": larger than 256 MiB");
    auto bytes = ReadWholeFile(file, kLargestContainer);
    if (!bytes) throw ESqliteError("Cannot open database \"" + file.string() + "\"");
    return std::move(*bytes);
}

SqliteDatabase OpenContainer(const std::filesystem::path& file, std::string_view password, SqliteAccess access) {
    std::string image;
    try {
        image = DecryptBuffer(ReadWhole(file), password, kContainerKeyType);
    } catch (const std::runtime_error& e) {
        throw ESqliteError("Cannot open database \"" + file.string() + "\": " + e.what());
    }
    // A wrong password decrypts to noise; say so instead of handing SQLite garbage.
    if (!image.starts_with(kSqliteHeader))
        throw ESqliteError("Cannot open database \"" + file.string() + "\": wrong password or not a database");
    return SqliteDatabase::OpenImage(image, access == SqliteAccess::ReadOnly ? access : SqliteAccess::ReadWrite);
}

}  // namespace

bool IsPlainDatabaseFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[16] = {};
    return in.read(header, sizeof header) && std::string_view(header, sizeof header) == kSqliteHeader;
}

SqliteDatabase OpenStoredDatabase(const std::filesystem::path& file, std::string_view password,
                                  SqliteAccess access) {
    if (password.empty() || IsPlainDatabaseFile(file)) return SqliteDatabase::OpenFile(file, access);
    return OpenContainer(file, password, access);
}

SqliteDatabase CreateStoredDatabase(const std::filesystem::path& file, std::string_view password) {
    if (password.empty()) return SqliteDatabase::OpenFile(file, SqliteAccess::Create);
    return SqliteDatabase::OpenImage({}, SqliteAccess::ReadWrite);
}

// The image is sealed in memory: the disk never holds it readable.
void SaveDatabase(SqliteDatabase& db, const std::filesystem::path& file, std::string_view password) {
    if (!db.IsImage()) return;
    const std::filesystem::path sealed = file.string() + ".sealed~";
    try {
        const std::string container = EncryptBuffer(db.Serialize(), password, kContainerKeyType);
        {
            std::ofstream out(sealed, std::ios::binary | std::ios::trunc);
            if (!out.write(container.data(), static_cast<std::streamsize>(container.size())) || !out.flush())
                throw EStreamError("Stream write error");
        }
        std::filesystem::rename(sealed, file);
    } catch (const std::exception& e) {
        std::error_code ignored;
        std::filesystem::remove(sealed, ignored);
        throw ESqliteError("Cannot write database \"" + file.string() + "\": " + e.what());
    }
}

}  // namespace ov
