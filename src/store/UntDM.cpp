#include "store/UntDM.h"

#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "store/ConnectionString.h"
#include "store/StoredSecrets.h"
#include "store/UntPublic.h"
#include "store/WordTable.h"

namespace ov {
namespace {

std::string Deciphered(std::string_view stored) { return DecipherString(stored, kDefaultCipherKey); }

}  // namespace

std::filesystem::path CatalogueDbPath() { return ProgramFolder() / "DB" / "RsDbList.db"; }

std::string CatalogueConnectionString() {
    return FormatConnectionString(CatalogueDbPath().string(), DecipherString(kCatalogueDbPassword, ""));
}

std::string WordDbPath(const std::string& classPath) { return classPath + Deciphered(kWordDbFileName); }

std::string WordDbConnectionString(const std::string& classPath) {
    return FormatConnectionString(WordDbPath(classPath), Deciphered(kWordDbPassword));
}

TFrmDM::TFrmDM() {
    try {
        adoConn.SetConnectionString(CatalogueConnectionString());
        adoConn.Open();
    } catch (const std::runtime_error& e) {
        // Nothing is shown at start; the tree says so when it cannot load.
        Log(LogLevel::Warning, "store",
            "catalogue database " + CatalogueDbPath().string() + " does not open: " + e.what());
    }
}

bool TFrmDM::OpenWordQuery(const std::string& classPath) {
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
