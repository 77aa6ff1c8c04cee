#pragma once

#include <filesystem>
#include <string_view>

#include "store/SqliteDatabase.h"

namespace ov {

// A database with a password may be kept as an encrypted container (the page
// container format, keyed by the password, AES-128), so that the disk shows
// nothing readable. A plain database file opens as it is, password or not.

// Opens `file`: plain, or decrypted into memory when it is a container and
// `password` is not empty. Every failure (missing, unreadable, locked, corrupt,
// wrong password) is thrown as ESqliteError.
SqliteDatabase OpenStoredDatabase(const std::filesystem::path& file, std::string_view password,
                                  SqliteAccess access);

// A new, empty database for `file`: the file itself without a password, an
// in-memory one to be saved as a container with one.
SqliteDatabase CreateStoredDatabase(const std::filesystem::path& file, std::string_view password);

// Writes a database held in memory back to `file` as a container keyed by
// `password`, replacing the file only once the new one is complete. A file
// database holds its changes already and is left alone.
void SaveDatabase(SqliteDatabase& db, const std::filesystem::path& file, std::string_view password);

// True when the file starts like an SQLite database file.
bool IsPlainDatabaseFile(const std::filesystem::path& file);

}  // namespace ov
