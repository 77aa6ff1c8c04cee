#include "SpokenRecordings.h"

#include <cstdlib>

namespace ovtest {
namespace {

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

bool Sox(const std::string& arguments) { return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0; }

std::filesystem::path Spoken(const std::filesystem::path& folder, const std::string& name, const std::string& text,
                             const std::string& effects) {
    const std::filesystem::path raw = folder / (name + "-espeak.wav"), wav = folder / (name + ".wav");
    if (std::system(("espeak-ng -w " + Quoted(raw.string()) + " " + Quoted(text)).c_str()) != 0) return {};
    if (effects.empty()) return raw;
    return Sox(Quoted(raw.string()) + " " + Quoted(wav.string()) + " " + effects) ? wav : std::filesystem::path{};
}

}  // namespace ovtest
