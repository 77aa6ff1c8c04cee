#include "store/LessonData.h"

#include "core/Log.h"
#include "store/CatalogueMerge.h"
#include "store/ConnectionString.h"
#include "store/SqliteStorage.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"
#include "store/WordTable.h"

namespace ov {
namespace {

std::string Deciphered(std::string_view stored) { return DecipherString(stored, kDefaultCipherKey); }

// The catalogues that open, in precedence order; one that does not is left
// out (and logged) so the others still show.
SqliteDatabase MergedCatalogue(const std::vector<std::filesystem::path>& files) {
    std::vector<std::vector<CatalogueNode>> catalogues;
    for (const auto& file : files) {
        try {
            catalogues.push_back(ReadCatalogueFile(file));
        } catch (const ESqliteError& e) {
            Log(LogLevel::Warning, "store", "catalogue database " + file.string() + " left out: " + e.what());
        }
    }
    if (catalogues.empty()) throw ESqliteError("No catalogue database opens");
    return CatalogueInMemory(MergeCatalogues(catalogues));
}

}  // namespace

std::filesystem::path CatalogueDbPath(const DataFolders& folders) {
    return folders.Find(kCatalogueDbFile);
}

std::string CatalogueConnectionString(const DataFolders& folders) {
    return FormatConnectionString(CatalogueDbPath(folders).string(), CataloguePassword());
}

std::string CataloguePassword() { return DecipherString(kCatalogueDbPassword, ""); }

std::vector<CatalogueNode> ReadCatalogueFile(const std::filesystem::path& file) {
    auto db = OpenStoredDatabase(file, CataloguePassword(), SqliteAccess::ReadOnly);
    return ReadCatalogueEntries(db);
}

std::string WordDbPath(const std::string& classPath) { return classPath + Deciphered(kWordDbFileName); }

std::string WordDbConnectionString(const std::string& classPath) {
    return FormatConnectionString(WordDbPath(classPath), Deciphered(kWordDbPassword));
}

LessonData::LessonData(const DataFolders& folders) { OpenCatalogue(folders); }

void LessonData::OpenCatalogue(const DataFolders& folders) {
    adodsRsList.Close();
    adoConn.Close();
    const auto catalogues = folders.Existing(kCatalogueDbFile);
    try {
        adoConn.SetConnectionString(CatalogueConnectionString(folders));
        if (catalogues.size() > 1)
            adoConn.Adopt(MergedCatalogue(catalogues));
        else
            adoConn.Open();
    } catch (const std::runtime_error& e) {
        // Nothing is shown at start; the tree says so when it cannot load.
        Log(LogLevel::Warning, "store",
            "catalogue database " + CatalogueDbPath(folders).string() + " does not open: " + e.what());
    }
}

bool LessonData::OpenWordQuery(const std::string& classPath) {
    try {
        if (!std::filesystem::exists(WordDbPath(classPath))) {
            Log(LogLevel::Info, "store", "lesson " + classPath + " has no word database");
            return false;
        }
        ADOConnWord.Close();
        ADOConnWord.SetConnectionString(WordDbConnectionString(classPath));
        ADOConnWord.Open();
        adoQryWord.Close();
        adoQryWord.SetSql(std::string(kWordQuerySql));
        adoQryWord.Open();
        adoQryWord.First();
        return true;
    } catch (const std::runtime_error& e) {
        Log(LogLevel::Warning, "store", "word database " + WordDbPath(classPath) + " does not open: " + e.what());
        ADOConnWord.Close();
        return false;
    }
}

}  // namespace ov
