#include "store/TsvFile.h"

#include <fstream>

#include "store/CipherAndFiles.h"

namespace ov {
namespace {

std::string Unescape(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == '\\')
            out += '\\';
        else
            out.append({'\\', next});
    }
    return out;
}

}  // namespace

std::vector<TsvRow> ReadTsvFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw EStreamError("Cannot open file \"" + file.string() + "\"");
    std::vector<TsvRow> rows;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        TsvRow& row = rows.emplace_back();
        row.line = number;
        for (size_t start = 0;;) {
            size_t tab = std::min(line.find('\t', start), line.size());
            row.fields.push_back(Unescape(std::string_view(line).substr(start, tab - start)));
            if (tab == line.size()) break;
            start = tab + 1;
        }
    }
    if (in.bad()) throw EStreamError("Stream read error");
    return rows;
}

std::string EscapeTsvField(const std::string& field) {
    std::string out;
    for (char c : field) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

}  // namespace ov
