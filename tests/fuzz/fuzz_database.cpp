#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "store/CatalogueSql.h"
#include "store/ConnectionString.h"
#include "store/SqliteDatabase.h"
#include "store/StoredSecrets.h"
#include "store/UntDM.h"
#include "store/UntPublic.h"

namespace {

// What the first byte makes of the rest. "Stored" modes take the file as it
// lies on disk, a plain database or a container. "Sealed" modes take a plain
// database image and seal it with the installation's own password first, so
// that mutations reach SQLite instead of dying in the cipher.
enum class Mode : uint8_t {
    StoredCatalogue,
    SealedCatalogue,
    StoredWords,
    SealedWords,
    ConnectionText,
    PasswordRoundTrip,
    Count
};

// Databases with a password are kept as AES-128 containers.
constexpr int kContainerKeyType = static_cast<int>(ov::KeyType::Aes128);

// The program folder, where the data module looks for the catalogue.
const std::filesystem::path& Home() {
    static const std::filesystem::path& home = []() -> const std::filesystem::path& {
        const auto& p = ovfuzz::ScratchFolder("database");
        setenv("OV_HOME", p.c_str(), 1);
        return p;
    }();
    return home;
}

std::filesystem::path ClassFolder() { return Home() / "Class"; }

void Seal(const std::filesystem::path& file, std::string_view image, std::string_view password) {
    const auto plain = Home() / "image.plain";
    ovfuzz::WriteBytes(plain, image);
    std::filesystem::create_directories(file.parent_path());
    ov::EncryptFile(plain, file, password, kContainerKeyType);
}

void PlaceDatabase(const std::filesystem::path& file, std::string_view bytes, bool sealed,
                   std::string_view password) {
    if (sealed)
        Seal(file, bytes, password);
    else
        ovfuzz::WriteBytes(file, bytes);
}

void ReadEveryField(ov::SqliteQuery& query) {
    for (query.First(); !query.Eof(); query.Next())
        for (const auto& name : query.FieldNames()) query.FieldByName(name);
}

// The tree's first load, then a click on each top node: the selected record
// and the level below it.
void BrowseCatalogue(ov::TFrmDM& dm) {
    ov::SqliteQuery& master = dm.adodsRsList;
    master.SetSql(ov::OneLevelSql(ov::kCatalogueTable, ov::kCatalogueCodeField));
    const std::string pattern = ov::NextLevelPattern("", ov::kCatalogueLevels);
    master.SetParameter("Cd", pattern);
    master.SetParameter("len", ov::Utf8Length(pattern));
    master.Open();
    std::vector<std::string> codes;
    for (; !master.Eof(); master.Next()) {
        codes.push_back(master.FieldByName(ov::kCatalogueCodeField));
        master.FieldByName(ov::kCatalogueNameField);
    }
    for (const auto& code : codes) {
        master.SetSql(ov::RecordsEqualSql(ov::kCatalogueTable, ov::kCatalogueCodeField, code));
        master.Open();
        ReadEveryField(master);
        ov::SqliteQuery children(&dm.adoConn);
        children.SetSql(ov::ChildrenSql(ov::kCatalogueTable, ov::kCatalogueCodeField, code));
        children.Open();
        ReadEveryField(children);
    }
}

void OpenCatalogue(std::string_view bytes, bool sealed) {
    PlaceDatabase(ov::CatalogueDbPath(), bytes, sealed, ov::DecipherString(ov::kCatalogueDbPassword, ""));
    ov::TFrmDM dm;
    try {
        BrowseCatalogue(dm);
    } catch (const std::runtime_error&) {
    }
}

void OpenWords(std::string_view bytes, bool sealed) {
    const std::string classPath = ClassFolder().string();
    PlaceDatabase(ov::WordDbPath(classPath), bytes, sealed,
                  ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey));
    ov::TFrmDM dm;
    if (!dm.OpenWordQuery(classPath)) {
        if (dm.adoQryWord.Active()) __builtin_trap();
        return;
    }
    try {
        ReadEveryField(dm.adoQryWord);
        for (const char* field : {"word", "symbol", "Acceptation", "ExpSentence"}) dm.adoQryWord.FieldByName(field);
    } catch (const std::runtime_error&) {
    }
}

void ParseConnection(std::string_view text) {
    try {
        if (ov::ParseConnectionString(text).dataSource.empty()) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
}

// Any password, quoted as the connection texts quote it, must come back whole.
void RoundTripPassword(std::string_view password) {
    std::string text = "Data Source=/r/A/OV/Class/words.db;Password='";
    for (char c : password) text += c == '\'' ? std::string("''") : std::string(1, c);
    text += "'";
    const auto parsed = ov::ParseConnectionString(text);
    if (parsed.dataSource != "/r/A/OV/Class/words.db" || parsed.password != password) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto mode = static_cast<Mode>(data[0] % static_cast<uint8_t>(Mode::Count));
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::filesystem::remove_all(Home());
    std::filesystem::create_directories(Home());
    switch (mode) {
    case Mode::StoredCatalogue: OpenCatalogue(bytes, false); break;
    case Mode::SealedCatalogue: OpenCatalogue(bytes, true); break;
    case Mode::StoredWords: OpenWords(bytes, false); break;
    case Mode::SealedWords: OpenWords(bytes, true); break;
    case Mode::ConnectionText: ParseConnection(bytes); break;
    case Mode::PasswordRoundTrip: RoundTripPassword(bytes); break;
    case Mode::Count: break;
    }
    return 0;
}
