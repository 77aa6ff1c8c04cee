#include "store/SqliteStorage.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "store/UntPublic.h"

namespace ov {
namespace {

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};
constexpr int kContainerKeyType = 0;

std::string ReadWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ESqliteError("Cannot open database \"" + file.string() + "\"");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ESqliteError("Cannot read database \"" + file.string() + "\"");
    return bytes;
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

void SaveDatabase(SqliteDatabase& db, const std::filesystem::path& file, std::string_view password) {
    if (!db.IsImage()) return;
    const std::filesystem::path plain = file.string() + ".plain~";
    const std::filesystem::path sealed = file.string() + ".sealed~";
    try {
        {
            std::ofstream out(plain, std::ios::binary | std::ios::trunc);
            std::string image = db.Serialize();
            if (!out.write(image.data(), static_cast<std::streamsize>(image.size())) || !out.flush())
                throw EStreamError("Stream write error");
        }
        EncryptFile(plain, sealed, password, kContainerKeyType);
        std::filesystem::rename(sealed, file);
    } catch (const std::exception& e) {
        std::error_code ignored;
        std::filesystem::remove(plain, ignored);
        std::filesystem::remove(sealed, ignored);
        throw ESqliteError("Cannot write database \"" + file.string() + "\": " + e.what());
    }
    std::error_code ignored;
    std::filesystem::remove(plain, ignored);
}

}  // namespace ov
