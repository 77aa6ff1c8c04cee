#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

namespace ov {

// Writing a document failed; the message is the one the author sees.
class eError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One XML file of a lesson folder. The DOM is loaded on the first read and
// kept between reads, because the player asks the same page many questions.
class LessonXmlFile {
public:
    // Open mode (createNew false) never writes. Create-new mode makes the
    // folder (one level) and an empty file when they are missing.
    LessonXmlFile(std::filesystem::path folder, std::string fileName, bool createNew);
    virtual ~LessonXmlFile();
    LessonXmlFile(const LessonXmlFile&) = delete;
    LessonXmlFile& operator=(const LessonXmlFile&) = delete;

    // The file name is resolved ignoring case, as courseware was made on a
    // case-blind file system.
    std::filesystem::path FilePath() const;
    void CheckExists();
    void EnsureFolder();
    void CreateEmptyFile();

    // Writes the open document; throws eError("初始化XML文件出错").
    virtual void Initialise();
    // Writes the document and closes it in any case; throws eError("保存XML文件出错").
    virtual void Save();

    bool Exists() const { return FExists; }
    bool IsOpen() const { return FDocument != nullptr; }

protected:
    enum class Report { Message, Silent };

    // Runs one read: loads the document when it is closed and hands the body
    // its document element. Any failure ends the read with the one message
    // (unless silent); answers whether the body completed.
    bool Run(const std::function<void(pugi::xml_node root)>& body, Report report = Report::Message);
    void EnsureLoaded();
    // What the subclasses' constructors end with: create-new mode writes the
    // skeleton; open mode trusts the file to exist, so that a missing file
    // shows up as the first read's failure.
    void InitialiseOrOpen();
    // Builds a skeleton on a new, empty document and writes it.
    void InitialiseWith(const std::function<void(pugi::xml_document& document)>& build);
    void Close();
    void WriteOrRaise(const pugi::xml_document* document, const char* message) const;

    std::unique_ptr<pugi::xml_document> FDocument;
    std::string FFileName;
    std::filesystem::path FFolder;
    bool FExists = false;
    bool FCreateNew = false;
};

// What every lesson-document failure shows the pupil.
void ShowResourceMissing();

}  // namespace ov
