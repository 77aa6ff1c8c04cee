#include "store/UntDM.h"

#include "core/ProgramFolder.h"
#include "store/StoredSecrets.h"
#include "store/UntPublic.h"

namespace ov {
namespace {

std::string Deciphered(std::string_view stored) { return DecipherString(stored, kDefaultCipherKey); }

}  // namespace

std::filesystem::path CatalogueDbPath() { return ProgramFolder() / "DB" / "RsDbList.db"; }

std::string CatalogueConnectionString() {
    return "Data Source=" + CatalogueDbPath().string() + ";" + "Password='" + DecipherString(kCatalogueDbPassword, "") +
           "'";
}

std::string WordDbPath(const std::string& classPath) { return classPath + Deciphered(kWordDbFileName); }

std::string WordDbConnectionString(const std::string& classPath) {
    return Deciphered(kWordDbConnectionLead) + classPath + Deciphered(kWordDbConnectionTail) + "'" +
           Deciphered(kWordDbPassword) + "'";
}

TFrmDM::TFrmDM() {
    try {
        adoConn.SetConnectionString(CatalogueConnectionString());
        adoConn.Open();
    } catch (const std::runtime_error&) {
        // Nothing is shown at start; the tree says so when it cannot load.
    }
}

bool TFrmDM::OpenWordQuery(const std::string& classPath) {
    try {
        if (!std::filesystem::exists(WordDbPath(classPath))) return false;
        ADOConnWord.Close();
        ADOConnWord.SetConnectionString(WordDbConnectionString(classPath));
        ADOConnWord.Open();
        adoQryWord.Close();
        adoQryWord.SetSql(kWordQuerySql);
        adoQryWord.Open();
        adoQryWord.First();
        return true;
    } catch (const std::runtime_error&) {
        ADOConnWord.Close();
        return false;
    }
}

}  // namespace ov
