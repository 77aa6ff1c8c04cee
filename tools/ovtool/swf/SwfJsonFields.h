#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>

#include "SwfMovie.h"

namespace ovtool {

// A movie description the writer cannot follow; the message starts with the
// field's path ("objects[2].radius: ...").
class SwfSpecError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One JSON object of a movie description, read field by field. Unknown
// fields are refused: a misspelt optional field would otherwise pass unseen.
class SwfJsonFields {
public:
    SwfJsonFields(const nlohmann::json& value, std::string path, std::initializer_list<const char*> known);

    bool Has(const char* key) const;
    const nlohmann::json& At(const char* key) const;
    std::string PathOf(const char* key) const;

    double Number(const char* key, double min, double max) const;
    double Number(const char* key, double min, double max, double fallback) const;
    // Pixels in twips.
    std::int32_t Length(const char* key, double min, double max) const;
    std::string Text(const char* key) const;
    std::string Text(const char* key, const std::string& fallback) const;
    bool Flag(const char* key, bool fallback) const;
    SwfColor Color(const char* key, SwfColor fallback) const;
    // The field as an array; empty when absent.
    const nlohmann::json& List(const char* key) const;

    [[noreturn]] void Fail(const char* key, const std::string& why) const;

private:
    const nlohmann::json& value_;
    std::string path_;
};

[[noreturn]] void FailAt(const std::string& path, const std::string& why);

// The path of a list's entry: "frames[3]".
std::string ItemPath(const std::string& list, std::size_t index);

}  // namespace ovtool
