#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ov {

// One problem an author should fix: the file it is in (a page file as the
// function index names it, the index, the word database), the element it
// concerns ("picture 4", "sentence 2", a word; empty for the whole file), and
// what is wrong.
struct CheckFinding {
    std::string File;
    std::string Element;
    std::string Text;
};

// Checks a lesson's class folder (the one holding "OVFunction.ind") the way
// the player will use it: every page the index names must be there, decrypt
// with this installation's page key and read; every file a page names must be
// found as the player resolves names; scripts, exercise items and
// arrangements must name elements the page has; the word database must open
// and every word must have a sound. Decrypted pages are written to `scratch`
// only, so an author's folder is never changed.
std::vector<CheckFinding> CheckClassFolder(const std::filesystem::path& classFolder,
                                           const std::filesystem::path& scratch);

}  // namespace ov
