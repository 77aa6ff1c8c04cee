#include "lesson/CoursewareCheck.h"

#include <pugixml.hpp>

#include <fstream>
#include <optional>
#include <set>
#include <stdexcept>

#include "core/CoursewarePath.h"
#include "core/HeldMessages.h"
#include "lesson/LessonDocument.h"
#include "lesson/FunctionIndexFile.h"
#include "lesson/PageCheck.h"
#include "lesson/PageLimits.h"
#include "lesson/XmlFile.h"
#include "lesson/XmlValue.h"
#include "store/SqliteConnection.h"
#include "store/SqliteQuery.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"
#include "store/WordTable.h"

namespace ov {
namespace {

constexpr const char* kIndexFile = "OVFunction.ind";
constexpr int kFunctionSlots = 27;

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The distinct page entries of every function, in index order.
std::vector<std::string> IndexedPages(const std::filesystem::path& classFolder, std::vector<CheckFinding>& findings) {
    std::vector<std::string> pages;
    if (!IsFile(ResolveCoursewarePath(classFolder, kIndexFile))) {
        findings.push_back({kIndexFile, "", "the function index is missing"});
        return pages;
    }
    // The player shows lesson-document failures to the pupil; here they are
    // counted instead, and nothing is shown.
    const HeldMessages messages;
    FunctionIndexFile index(classFolder, kIndexFile, false);
    std::set<std::string> seen;
    for (int kind = 0; kind < kFunctionSlots; ++kind) {
        const auto list = index.GetPageList(static_cast<TOVRule>(kind));
        if (!messages.Held().empty()) {
            findings.push_back({kIndexFile, "Function_" + std::to_string(kind), "the function index cannot be read"});
            break;
        }
        for (const std::string& entry : list.value_or(std::vector<std::string>{})) {
            if (entry.empty())
                findings.push_back({kIndexFile, "Function_" + std::to_string(kind), "an empty page entry"});
            else if (seen.insert(entry).second)
                pages.push_back(entry);
        }
    }
    return pages;
}

// Decrypted with the wrong key a page is noise, not markup.
bool LooksLikeMarkup(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char c = 0;
    while (in.get(c))
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\xEF' && c != '\xBB' && c != '\xBF') break;
    return in && c == '<';
}

// Decrypts the page as the player does; nothing when it is missing or does not decrypt.
std::optional<std::filesystem::path> DecryptedPage(const std::filesystem::path& classFolder,
                                                   const std::filesystem::path& scratch, const std::string& entry,
                                                   std::vector<CheckFinding>& findings) {
    const auto container = ResolveCoursewarePath(classFolder, entry);
    if (!IsFile(container)) {
        findings.push_back({entry, "", "the page file is missing"});
        return std::nullopt;
    }
    const auto plain = scratch / (entry.substr(0, entry.find('.')) + ".ovb");
    try {
        DecryptFile(container, plain, DecipherString(kLessonPageKey, ""), 0);
    } catch (const std::runtime_error& e) {
        findings.push_back({entry, "", std::string("the page does not decrypt: ") + e.what()});
        return std::nullopt;
    }
    if (!LooksLikeMarkup(plain)) {
        findings.push_back({entry, "", "the page does not decrypt with this installation's page key"});
        return std::nullopt;
    }
    return plain;
}

void CheckPage(const std::filesystem::path& classFolder, const std::filesystem::path& scratch,
               const std::string& entry, std::vector<CheckFinding>& findings) {
    const auto plain = DecryptedPage(classFolder, scratch, entry, findings);
    if (!plain) return;
    pugi::xml_document document;
    try {
        xml::LoadDocument(*plain, document);
    } catch (const xml::XmlFailure& e) {
        findings.push_back({entry, "", std::string("the page does not parse: ") + e.what()});
        return;
    }
    // The content box builds the page from this one read; where it fails, the
    // pupil sees the message and a page cut short.
    {
        const HeldMessages messages;
        LessonDocument lesson(scratch, plain->filename().string(), false);
        const size_t items = lesson.GetPageItems().size();
        if (!messages.Held().empty())
            findings.push_back(
                {entry, "",
                 "the page's elements cannot be read: the player shows only the first " + std::to_string(items)});
        if (items > page::kMaxElements)
            findings.push_back({entry, "",
                                "the page has " + std::to_string(items) + " elements, more than the " +
                                    std::to_string(page::kMaxElements) + " the player builds: it is not shown"});
    }
    PageCheck(classFolder, entry, findings).Run(document.document_element());
}

// Each that exists is played; a word with none stays silent in the drill.
bool HasSound(const std::filesystem::path& classFolder, const std::string& word) {
    for (const char* extension : {".wav", ".mp3", ".swf"})
        if (IsFile(ResolveCoursewarePath(classFolder, "w_" + word + extension))) return true;
    return false;
}

void CheckWords(const std::filesystem::path& classFolder, std::vector<CheckFinding>& findings) {
    const std::string classPath = classFolder.string();
    const std::string file = std::filesystem::path(WordDbPath(classPath)).filename().string();
    if (!IsFile(WordDbPath(classPath))) {
        findings.push_back({file, "", "the word database is missing: the word preview shows nothing"});
        return;
    }
    try {
        SqliteConnection connection;
        connection.SetConnectionString(WordDbConnectionString(classPath));
        connection.Open();
        SqliteQuery words(&connection);
        words.SetSql(std::string(kWordQuerySql));
        words.Open();
        if (words.RecordCount() == 0) findings.push_back({file, "", "the word database has no words"});
        for (; !words.Eof(); words.Next()) {
            for (const char* field : {"symbol", "Acceptation", "ExpSentence"}) words.FieldByName(field);
            const std::string& word = words.FieldByName("word");
            if (!HasSound(classFolder, word))
                findings.push_back({file, word, "no sound: none of w_" + word + ".wav, .mp3, .swf"});
        }
    } catch (const std::runtime_error& e) {
        findings.push_back({file, "", std::string("the word database cannot be read: ") + e.what()});
    }
}

}  // namespace

std::vector<CheckFinding> CheckClassFolder(const std::filesystem::path& classFolder,
                                           const std::filesystem::path& scratch) {
    std::vector<CheckFinding> findings;
    for (const std::string& entry : IndexedPages(classFolder, findings))
        CheckPage(classFolder, scratch, entry, findings);
    CheckWords(classFolder, findings);
    return findings;
}

}  // namespace ov
