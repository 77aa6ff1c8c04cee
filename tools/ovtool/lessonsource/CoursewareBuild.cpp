#include "CoursewareBuild.h"

#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "FontMeasure.h"
#include "LessonPictures.h"
#include "LessonPlan.h"
#include "SpeechJobs.h"
#include "ToolCommand.h"
#include "audio/SoundSource.h"
#include "core/GbkText.h"
#include "core/TemporaryFolder.h"
#include "lesson/CoursewareCheck.h"
#include "lesson/FunctionIndexFile.h"
#include "store/CipherAndFiles.h"
#include "store/ClassPackageWriter.h"
#include "store/SqliteAuthoring.h"
#include "store/StoredSecrets.h"
#include "swf/SwfSpec.h"
#include "swf/SwfWriter.h"

namespace ovtool {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw CommandError{kFailed, "cannot read " + file.string()};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw CommandError{kFailed, "cannot write " + file.string()};
}

// Every file the source names is there, and every recording decodes: the
// player would otherwise stay silent where the teacher expects a voice.
void CheckNamedFiles(const LessonSource& source, const fs::path& folder) {
    for (const auto& [file, recording] : source.NamedFiles()) {
        const fs::path path = folder / file->path;
        std::error_code error;
        if (!fs::is_regular_file(path, error)) throw SourceError(file->place, file->path + " does not exist");
        if (recording && !ov::OpenSoundFile(path.string()))
            throw SourceError(file->place, file->path + " is not a recording the player can play");
    }
}

// A page as the player reads it: GBK, in the lesson page container.
void WritePage(const fs::path& file, const std::string& utf8, SourcePlace place) {
    const auto gbk = ov::Utf8ToGbk(utf8);
    if (!gbk) throw SourceError(place, "the page holds text GBK cannot hold");
    WriteBytes(file, ov::EncryptBuffer(*gbk, ov::DecipherString(ov::kLessonPageKey, ""), 0));
}

void WriteMovie(const fs::path& file, const SourceFile& description, const fs::path& folder) {
    SwfMovie movie;
    try {
        movie = ReadSwfSpec(nlohmann::json::parse(ReadText(folder / description.path)));
    } catch (const nlohmann::json::parse_error& e) {
        throw SourceError(description.place, description.path + " is not JSON: " + e.what());
    } catch (const SwfSpecError& e) {
        throw SourceError(description.place, description.path + ": " + e.what());
    }
    const auto bytes = WriteSwf(movie);
    WriteBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteWords(const fs::path& file, const LessonSource& source) {
    ov::CreateDatabaseFile(file, ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey),
                           [&](ov::SqliteDatabase& db) {
                               ov::CreateWordTable(db);
                               for (const auto& w : source.words)
                                   ov::AddWord(db, w.word, w.symbol, w.meaning, w.example);
                           });
}

void WriteCatalogue(const fs::path& file, const LessonSource& source) {
    fs::create_directories(file.parent_path());
    ov::CreateDatabaseFile(file, ov::DecipherString(ov::kCatalogueDbPassword, ""), [&](ov::SqliteDatabase& db) {
        ov::CreateCatalogueTable(db);
        for (const auto& level : source.catalogue) ov::AddCatalogueEntry(db, level.code, level.name);
    });
}

void WriteIndex(const fs::path& folder, const LessonPlan& plan) {
    ov::FunctionIndexFile index(folder, "OVFunction.ind", true);
    for (const auto& [function, pages] : plan.functions) {
        std::string list;
        for (const auto& page : pages) list += (list.empty() ? "" : "|") + page;
        index.SetPageList(static_cast<ov::TOVRule>(function), list);
    }
    index.Save();
}

void WriteClassFolder(const fs::path& classFolder, const LessonSource& source, const LessonPlan& plan,
                      const fs::path& sourceFolder) {
    fs::create_directories(classFolder);
    for (const auto& [file, xml] : plan.pages) WritePage(classFolder / file, xml, {});
    WriteIndex(classFolder, plan);
    if (!source.words.empty()) WriteWords(classFolder / "words.db", source);
    for (const auto& copy : plan.copies) {
        const fs::path from = sourceFolder / copy.source->path;
        if (copy.file.ends_with(".ov"))
            WritePage(classFolder / copy.file, ReadText(from), copy.source->place);
        else
            WriteBytes(classFolder / copy.file, ReadText(from));
    }
    for (const auto& movie : plan.movies) WriteMovie(classFolder / movie.file, *movie.source, sourceFolder);
    for (const auto& drawing : plan.drawings)
        if (!DrawLessonPicture(classFolder / drawing.file, drawing.kind, drawing.text))
            throw CommandError{kFailed, "cannot draw " + (classFolder / drawing.file).string()};
    RunSpeech(plan.speech, classFolder);
}

// What `ovtool check` would find is a fault of the build, not of the teacher.
void CheckClass(const fs::path& classFolder, const fs::path& scratch) {
    fs::create_directories(scratch);
    std::string findings;
    for (const auto& finding : ov::CheckClassFolder(classFolder, scratch))
        findings += "\n  " + finding.File + ": " + finding.Element + ": " + finding.Text;
    if (!findings.empty()) throw CommandError{kFailed, "the built lesson does not pass the check:" + findings};
}

// Moves the finished folder over `out`; an earlier build there goes only once
// the new one is in place.
void Replace(const fs::path& built, const fs::path& out) {
    std::error_code error;
    const fs::path old = out.parent_path() / ("." + out.filename().string() + ".old-" + std::to_string(::getpid()));
    const bool existed = fs::exists(out, error);
    if (existed) {
        if (!fs::exists(out / "DB" / "RsDbList.db", error))
            throw CommandError{kFailed, out.string() + " exists and is not a courseware folder; choose another"};
        fs::rename(out, old, error);
        if (error) throw CommandError{kFailed, "cannot move " + out.string() + " aside: " + error.message()};
    }
    fs::rename(built, out, error);
    if (error) {
        if (existed) fs::rename(old, out, error);
        throw CommandError{kFailed, "cannot write " + out.string()};
    }
    if (existed) fs::remove_all(old, error);
}

}  // namespace

void BuildCourseware(const fs::path& source, const fs::path& out, const std::string& voice) {
    const LessonSource lesson = ParseLessonSource(ReadText(source));
    const fs::path sourceFolder = source.parent_path().empty() ? fs::path(".") : source.parent_path();
    CheckNamedFiles(lesson, sourceFolder);
    const FontMeasure measure;
    const LessonPlan plan = PlanLesson(lesson, measure, voice);

    const fs::path parent = fs::absolute(out).parent_path();
    fs::create_directories(parent);
    const ov::TemporaryFolder work(parent, "." + fs::absolute(out).filename().string() + ".building-");
    const fs::path built = work.Path() / "courseware";
    const fs::path stage = work.Path() / "lesson";
    try {
        WriteClassFolder(stage / "Class", lesson, plan, sourceFolder);
        CheckClass(stage / "Class", work.Path() / "check");
        fs::create_directories(built / "Resources");
        ov::WriteClassPackage(stage, built / "Resources" / (lesson.name + ".ovpk"));
        WriteCatalogue(built / "DB" / "RsDbList.db", lesson);
        for (const auto& [name, sound] : lesson.sceneSounds)
            WriteBytes(built / "ENoises" / (name + fs::path(sound.path).extension().string()),
                       ReadText(sourceFolder / sound.path));
    } catch (const std::runtime_error& e) {
        if (dynamic_cast<const SourceError*>(&e)) throw;
        throw CommandError{kFailed, e.what()};
    }
    Replace(built, fs::absolute(out));
}

}  // namespace ovtool
