#pragma once

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ovtool {

// Where in the teacher's file something was written: line and column count
// from 1, columns in characters as an editor shows them.
struct SourcePlace {
    int line = 0;
    int column = 0;
};

// A mistake in the lesson source, reported as FILE:LINE:COLUMN: message.
class SourceError : public std::runtime_error {
public:
    SourceError(SourcePlace place, const std::string& message) : std::runtime_error(message), place_(place) {}
    SourcePlace Place() const { return place_; }

private:
    SourcePlace place_;
};

// A file the teacher names, relative to the source's folder; empty when not given.
struct SourceFile {
    std::string path;
    SourcePlace place;
    bool Given() const { return !path.empty(); }
};

struct CatalogueLevel {
    std::string code;
    std::string name;
    SourcePlace place;
};

struct SourceWord {
    std::string word;
    std::string symbol;
    std::string meaning;
    std::string example;
    SourceFile sound;
    SourceFile picture;
};

struct SourceLine {
    std::string role;
    std::string text;
    SourceFile sound;
};

// A discrimination item or a picture choice: the word heard, then the others.
struct SourceChoice {
    std::vector<std::string> words;
};

struct SourceQuestion {
    bool typed = false;              // hear the word, type it; else choose its picture
    std::vector<std::string> words;  // the answer first
};

struct SourceSungLine {
    std::string text;
    SourceFile sound;
};

// An animation or game page: a title over a movie made from its description,
// or a page written by hand.
struct SourceMoviePage {
    std::string title;
    SourceFile movie;  // a description as `ovtool swf` takes it
    SourceFile page;   // a page written by hand (UTF-8 XML)
};

struct SourceExtraFile {
    std::string target;  // the name inside the lesson's class folder
    SourceFile file;
};

struct LessonSource {
    std::string name;  // names the package and the catalogue's lesson entry
    // Textbook, grade, unit and lesson, each code its parent's plus two characters.
    std::array<CatalogueLevel, 4> catalogue;
    std::map<std::string, std::string> voices;  // role -> espeak-ng voice, where given
    std::vector<SourceWord> words;
    SourceFile scene;  // the dialogue's picture
    std::vector<SourceLine> dialogue;
    std::vector<std::string> dictation;
    std::vector<SourceChoice> discrimination;
    std::vector<SourceQuestion> test;
    std::vector<std::string> arrangement;
    std::string songTitle;
    SourceFile songMovie;
    std::vector<SourceSungLine> song;
    std::vector<SourceMoviePage> animations;
    std::vector<SourceMoviePage> games;
    std::map<std::string, SourceFile> sceneSounds;  // name -> recording
    std::vector<SourceExtraFile> files;

    // The roles in the order they first speak.
    std::vector<std::string> Roles() const;
    // Every file the source names, with what it is for.
    std::vector<std::pair<const SourceFile*, bool>> NamedFiles() const;  // (file, is a recording)
};

// Reads a lesson source. Throws SourceError at the first mistake: an unknown
// section or key, a missing field, a duplicate word, text GBK cannot hold,
// catalogue codes that do not fit together. Files are only named here.
LessonSource ParseLessonSource(std::string_view text);

}  // namespace ovtool
