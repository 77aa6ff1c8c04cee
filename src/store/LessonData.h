#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/DataFolders.h"
#include "store/CatalogueLevels.h"
#include "store/SqliteConnection.h"
#include "store/SqliteQuery.h"

namespace ov {

// The data module: the catalogue connection with the tree's master data set,
// and the word database of the open lesson with its query. It lives for the
// whole run; the data sets point at its own connections, so it stays put.
class LessonData {
public:
    // Opens the catalogue at once. A catalogue that cannot be opened leaves
    // adoConn closed without a word; the tree's queries report it later.
    // Where several courseware folders hold a catalogue, the tree reads them
    // merged in memory (MergeCatalogues); none of them is ever written.
    explicit LessonData(const DataFolders& folders = DataFolders::Current());
    LessonData(const LessonData&) = delete;
    // Opens the catalogue of `folders` anew, as the constructor does; the
    // tree reads it at its next Load.
    void OpenCatalogue(const DataFolders& folders);
    LessonData& operator=(const LessonData&) = delete;

    // The data side of the word preview: connects to the lesson's word
    // database under `classPath` and opens the word list at its first word.
    // False when there is no word database (nothing is touched then), or when
    // it cannot be connected or read (the query is left closed); the preview
    // drops such failures.
    bool OpenWordQuery(const std::string& classPath);

    SqliteConnection adoConn;
    SqliteQuery adodsRsList{&adoConn};
    SqliteConnection ADOConnWord;
    SqliteQuery adoQryWord{&ADOConnWord};
};

// The catalogue database file below a courseware folder.
inline constexpr std::string_view kCatalogueDbFile = "DB/RsDbList.db";
// The catalogue of the first courseware folder that has one.
std::filesystem::path CatalogueDbPath(const DataFolders& folders);
std::string CatalogueConnectionString(const DataFolders& folders);
// The password every catalogue database is stored with.
std::string CataloguePassword();
// Every entry of the catalogue database `file`, read only; throws
// ESqliteError when it does not open or holds no catalogue.
std::vector<CatalogueNode> ReadCatalogueFile(const std::filesystem::path& file);
// The lesson's word database: the class folder with the file name appended
// directly (the name brings its own separator).
std::string WordDbPath(const std::string& classPath);
std::string WordDbConnectionString(const std::string& classPath);

}  // namespace ov
