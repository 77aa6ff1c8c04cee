#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzFiles.h"
#include "core/DataFolders.h"
#include "store/CatalogueLevels.h"
#include "store/CatalogueSql.h"
#include "store/ConnectionString.h"
#include "store/SqliteDatabase.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"
#include "store/WordTable.h"

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
    ConnectionRoundTrip,
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
void BrowseCatalogue(ov::LessonData& dm) {
    ov::SqliteQuery& master = dm.adodsRsList;
    const auto layout = ov::MainCatalogueLayout();
    ov::OpenLevel(master, layout, "");
    for (const auto& node : ov::ReadNodes(master, layout)) {
        master.SetSql(ov::RecordsEqualSql(ov::kCatalogueTable, ov::kCatalogueCodeField, node.code));
        master.Open();
        ReadEveryField(master);
        ov::ReadChildren(&dm.adoConn, layout, node.code);
    }
}

void OpenCatalogue(std::string_view bytes, bool sealed) {
    PlaceDatabase(ov::CatalogueDbPath(ov::DataFolders::Current()), bytes, sealed, ov::DecipherString(ov::kCatalogueDbPassword, ""));
    ov::LessonData dm;
    try {
        BrowseCatalogue(dm);
    } catch (const std::runtime_error&) {
    }
}

void OpenWords(std::string_view bytes, bool sealed) {
    const std::string classPath = ClassFolder().string();
    PlaceDatabase(ov::WordDbPath(classPath), bytes, sealed,
                  ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey));
    ov::LessonData dm;
    if (!dm.OpenWordQuery(classPath)) {
        if (dm.adoQryWord.Active()) __builtin_trap();
        return;
    }
    try {
        ReadEveryField(dm.adoQryWord);
        for (std::string_view field : ov::kWordFields) dm.adoQryWord.FieldByName(std::string(field));
    } catch (const std::runtime_error&) {
    }
}

void ParseConnection(std::string_view text) {
    try {
        if (ov::ParseConnectionString(text).dataSource.empty()) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
}

// Any data source and password, written as the connection texts write them,
// must come back whole.
void RoundTripConnection(std::string_view bytes) {
    const std::string_view source = bytes.substr(0, bytes.size() / 2);
    const std::string_view password = bytes.substr(source.size());
    if (source.empty()) return;
    const auto parsed = ov::ParseConnectionString(ov::FormatConnectionString(source, password));
    if (parsed.dataSource != source || parsed.password != password) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovfuzz::SilenceLog();
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
    case Mode::ConnectionRoundTrip: RoundTripConnection(bytes); break;
    case Mode::Count: break;
    }
    return 0;
}
