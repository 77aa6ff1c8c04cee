#pragma once

#include <map>
#include <string>
#include <vector>

#include "LessonSource.h"
#include "TextMeasure.h"

namespace ovtool {

// A sentence espeak-ng says into a file of the class folder.
struct SpeechJob {
    std::string file;
    std::string voice;
    int speed = 0;
    std::string text;
};

// A picture drawn into a file of the class folder: a kind of drawing and its text.
struct DrawJob {
    std::string file;
    std::string kind;  // "card", "scene", "notes", "right", "selected", "unselected"
    std::string text;
};

// A file of the teacher's copied into the class folder as `file`.
struct CopyJob {
    std::string file;
    const SourceFile* source;
};

// Everything a lesson's class folder holds, before anything is written:
// pages (UTF-8 documents by file name), the function index and the media
// the pages name.
struct LessonPlan {
    std::map<std::string, std::string> pages;           // "words.ov" -> document
    std::map<int, std::vector<std::string>> functions;  // rule kind -> page files in order
    std::vector<SpeechJob> speech;
    std::vector<DrawJob> drawings;
    std::vector<CopyJob> copies;  // recordings, pictures, hand-written pages and extra files
    std::vector<CopyJob> movies;  // movie descriptions made into "*.swf"
};

// Lays out the lesson's pages with `measure`. `voice` is the espeak-ng voice
// of everything the source gives no voice; each role keeps its own voice.
LessonPlan PlanLesson(const LessonSource& source, const TextMeasure& measure, const std::string& voice);

}  // namespace ovtool
