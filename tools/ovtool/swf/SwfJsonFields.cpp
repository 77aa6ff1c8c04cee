#include "SwfJsonFields.h"

#include <cmath>
#include <sstream>

namespace ovtool {
namespace {

constexpr int kTwipsPerPixel = 20;

std::string Range(double min, double max) {
    std::ostringstream text;
    text << "must be a number from " << min << " to " << max;
    return text.str();
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ItemPath(const std::string& list, std::size_t index) { return list + "[" + std::to_string(index) + "]"; }

void FailAt(const std::string& path, const std::string& why) { throw SwfSpecError(path + ": " + why); }

SwfJsonFields::SwfJsonFields(const nlohmann::json& value, std::string path, std::initializer_list<const char*> known)
    : value_(value), path_(std::move(path)) {
    if (!value_.is_object()) FailAt(path_.empty() ? "the description" : path_, "must be a JSON object");
    for (const auto& [key, field] : value_.items()) {
        bool expected = false;
        for (const char* name : known) expected = expected || key == name;
        if (!expected) Fail(key.c_str(), "unknown field");
    }
}

bool SwfJsonFields::Has(const char* key) const { return value_.contains(key); }

const nlohmann::json& SwfJsonFields::At(const char* key) const {
    if (!Has(key)) Fail(key, "missing");
    return value_.at(key);
}

std::string SwfJsonFields::PathOf(const char* key) const { return path_.empty() ? key : path_ + "." + key; }

void SwfJsonFields::Fail(const char* key, const std::string& why) const { FailAt(PathOf(key), why); }

double SwfJsonFields::Number(const char* key, double min, double max) const {
    const nlohmann::json& field = At(key);
    if (!field.is_number()) Fail(key, Range(min, max));
    const double number = field.get<double>();
    if (!(number >= min && number <= max)) Fail(key, Range(min, max));
    return number;
}

double SwfJsonFields::Number(const char* key, double min, double max, double fallback) const {
    return Has(key) ? Number(key, min, max) : fallback;
}

std::int32_t SwfJsonFields::Length(const char* key, double min, double max) const {
    return static_cast<std::int32_t>(std::lround(Number(key, min, max) * kTwipsPerPixel));
}

std::string SwfJsonFields::Text(const char* key) const {
    const nlohmann::json& field = At(key);
    if (!field.is_string() || field.get<std::string>().empty()) Fail(key, "must be a text that is not empty");
    const std::string text = field.get<std::string>();
    // Texts are stored zero-terminated.
    if (text.find('\0') != std::string::npos) Fail(key, "must not hold a NUL character");
    return text;
}

std::string SwfJsonFields::Text(const char* key, const std::string& fallback) const {
    return Has(key) ? Text(key) : fallback;
}

bool SwfJsonFields::Flag(const char* key, bool fallback) const {
    if (!Has(key)) return fallback;
    if (!value_.at(key).is_boolean()) Fail(key, "must be true or false");
    return value_.at(key).get<bool>();
}

SwfColor SwfJsonFields::Color(const char* key, SwfColor fallback) const {
    if (!Has(key)) return fallback;
    const nlohmann::json& field = value_.at(key);
    const std::string text = field.is_string() ? field.get<std::string>() : "";
    int digits[6] = {};
    bool valid = text.size() == 7 && text[0] == '#';
    for (int i = 0; valid && i < 6; ++i) valid = (digits[i] = HexDigit(text[i + 1])) >= 0;
    if (!valid) Fail(key, "must be a colour \"#rrggbb\"");
    return {static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
            static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
            static_cast<std::uint8_t>(digits[4] * 16 + digits[5])};
}

const nlohmann::json& SwfJsonFields::List(const char* key) const {
    static const nlohmann::json empty = nlohmann::json::array();
    if (!Has(key)) return empty;
    if (!value_.at(key).is_array()) Fail(key, "must be a list");
    return value_.at(key);
}

}  // namespace ovtool
