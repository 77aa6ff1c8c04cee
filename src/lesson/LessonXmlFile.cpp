#include "lesson/LessonXmlFile.h"

#include <pugixml.hpp>

#include <fstream>
#include <system_error>

#include "core/CoursewarePath.h"
#include "core/Log.h"
#include "core/MessageHook.h"
#include "lesson/XmlFile.h"
#include "lesson/XmlValue.h"

namespace ov {

void ShowResourceMissing() { ShowMessageEx("提示", "未找到资源文件", 0); }

namespace {

// The pupil sees "未找到资源文件" at most; the log says which file and why.
void LogDocumentFailure(const std::filesystem::path& file, std::string_view why) {
    Log(LogLevel::Warning, "lesson", "lesson document " + file.string() + ": " + std::string(why));
}

}  // namespace

LessonXmlFile::LessonXmlFile(std::filesystem::path folder, std::string fileName, bool createNew) : FCreateNew(createNew) {
    try {
        FFolder = std::move(folder);
        FFileName = std::move(fileName);
        CheckExists();
        if (FCreateNew && !FExists) {
            EnsureFolder();
            CreateEmptyFile();
        }
        if (!FExists) LogDocumentFailure(FilePath(), "no such file");
    } catch (const std::exception& e) {
        LogDocumentFailure(FFolder / FFileName, std::string("not created: ") + e.what());
        ShowResourceMissing();
    }
}

LessonXmlFile::~LessonXmlFile() {
    // A document closed by Save or a page read is not written again: reading
    // it back first could only write what the file already holds. Nothing can
    // be reported from here, and Initialise has written the file already.
    if (FCreateNew && FDocument) {
        try {
            xml::SaveDocument(*FDocument, FilePath());
        } catch (const std::exception& e) {
            LogDocumentFailure(FFolder / FFileName, std::string("not saved: ") + e.what());
        }
    }
}

std::filesystem::path LessonXmlFile::FilePath() const { return ResolveCoursewarePath(FFolder, FFileName); }

void LessonXmlFile::CheckExists() {
    std::error_code ec;
    FExists = std::filesystem::exists(FilePath(), ec);
}

void LessonXmlFile::EnsureFolder() {
    std::error_code ec;
    if (std::filesystem::is_directory(FFolder, ec)) return;
    if (!std::filesystem::create_directory(FFolder, ec))
        throw std::filesystem::filesystem_error("cannot create the folder", FFolder, ec);
}

void LessonXmlFile::CreateEmptyFile() {
    const auto path = FilePath();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::filesystem::filesystem_error("cannot create the file", path, std::error_code());
    FExists = true;
}

void LessonXmlFile::Initialise() {
    if (FExists) WriteOrRaise(FDocument.get(), "初始化XML文件出错");
}

void LessonXmlFile::Save() {
    const auto closing = std::move(FDocument);
    WriteOrRaise(closing.get(), "保存XML文件出错");
}

void LessonXmlFile::WriteOrRaise(const pugi::xml_document* document, const char* message) const {
    try {
        if (!document) throw xml::XmlFailure("no open document");
        xml::SaveDocument(*document, FilePath());
    } catch (const std::exception&) {
        throw eError(message);
    }
}

bool LessonXmlFile::Run(const std::function<void(pugi::xml_node root)>& body, Report report) {
    if (!FExists) return false;
    try {
        EnsureLoaded();
        pugi::xml_node root = FDocument->document_element();
        if (!root) throw xml::XmlFailure("no document element");
        body(root);
        return true;
    } catch (const std::exception& e) {
        LogDocumentFailure(FFolder / FFileName, e.what());
        if (report == Report::Message) ShowResourceMissing();
        return false;
    }
}

void LessonXmlFile::EnsureLoaded() {
    if (FDocument) return;
    auto document = std::make_unique<pugi::xml_document>();
    xml::LoadDocument(FilePath(), *document);
    FDocument = std::move(document);
}

void LessonXmlFile::InitialiseOrOpen() {
    if (FCreateNew)
        Initialise();
    else
        FExists = true;
}

void LessonXmlFile::InitialiseWith(const std::function<void(pugi::xml_document& document)>& build) {
    if (!FExists) return;
    try {
        FDocument = std::make_unique<pugi::xml_document>();
        build(*FDocument);
    } catch (const std::exception& e) {
        LogDocumentFailure(FFolder / FFileName, std::string("not built: ") + e.what());
        ShowResourceMissing();
    }
    LessonXmlFile::Initialise();
}

void LessonXmlFile::Close() { FDocument.reset(); }

}  // namespace ov
