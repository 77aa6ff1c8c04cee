#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "store/SqliteAuthoring.h"
#include "store/SqliteStorage.h"

namespace ovtest {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A catalogue file made by our own writer: plain, or a container with a password.
inline void WriteCatalogue(const std::filesystem::path& file, const Entries& entries,
                           const std::string& password = "") {
    std::filesystem::create_directories(file.parent_path());
    auto db = ov::CreateStoredDatabase(file, password);
    ov::CreateCatalogueTable(db);
    for (const auto& [code, name] : entries) ov::AddCatalogueEntry(db, code, name);
    ov::SaveDatabase(db, file, password);
}

struct Word {
    std::string word, symbol, acceptation, expSentence;
};

inline void WriteWords(const std::filesystem::path& file, const std::vector<Word>& words,
                       const std::string& password = "") {
    std::filesystem::create_directories(file.parent_path());
    auto db = ov::CreateStoredDatabase(file, password);
    ov::CreateWordTable(db);
    for (const auto& w : words) ov::AddWord(db, w.word, w.symbol, w.acceptation, w.expSentence);
    ov::SaveDatabase(db, file, password);
}

}  // namespace ovtest
