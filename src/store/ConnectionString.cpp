#include "store/ConnectionString.h"

#include "core/CoursewarePath.h"
#include "store/SingleQuoted.h"
#include "store/SqliteDatabase.h"

namespace ov {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Reads one value starting at `pos`, up to the next ";" outside quotes.
std::string ReadValue(std::string_view text, size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos < text.size() && (text[pos] == '\'' || text[pos] == '"')) {
        const char quote = text[pos++];
        std::string value;
        for (;;) {
            if (pos >= text.size()) throw ESqliteError("Connection text has an unclosed quote");
            if (text[pos] == quote) {
                if (pos + 1 < text.size() && text[pos + 1] == quote) {
                    value += quote;
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            value += text[pos++];
        }
        while (pos < text.size() && text[pos] != ';') ++pos;
        return value;
    }
    size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string value(Trim(text.substr(pos, end - pos)));
    pos = end;
    return value;
}

bool CanStandBare(std::string_view value) {
    return value.find(';') == std::string_view::npos && Trim(value) == value &&
           !(value.starts_with('\'') || value.starts_with('"'));
}

}  // namespace

std::string FormatConnectionString(std::string_view dataSource, std::string_view password) {
    const std::string source = CanStandBare(dataSource) ? std::string(dataSource) : SingleQuoted(dataSource);
    return "Data Source=" + source + ";Password=" + SingleQuoted(password);
}

ConnectionString ParseConnectionString(std::string_view text) {
    ConnectionString result;
    bool hasSource = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t equals = text.find('=', pos);
        size_t semicolon = text.find(';', pos);
        if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
            if (semicolon == std::string_view::npos) break;
            pos = semicolon + 1;
            continue;
        }
        std::string key = AsciiLower(Trim(text.substr(pos, equals - pos)));
        pos = equals + 1;
        std::string value = ReadValue(text, pos);
        if (key == "data source") {
            result.dataSource = std::move(value);
            hasSource = true;
        } else if (key == "password") {
            result.password = std::move(value);
        }
        if (pos < text.size()) ++pos;
    }
    if (!hasSource || result.dataSource.empty()) throw ESqliteError("Connection text names no data source");
    return result;
}

}  // namespace ov
