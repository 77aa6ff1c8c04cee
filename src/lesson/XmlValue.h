#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/CipherAndFiles.h"

// How every lesson operation reads the DOM. Documents are addressed by child
// position, never by element name, and a value that is absent differs from an
// empty one; every rule below throws XmlFailure where reading has to stop.
namespace ov::xml {

class XmlFailure : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Absent (no attribute, no text) is a state of its own. Values point into the
// DOM, which outlives every read of one operation.
using Value = std::optional<std::string_view>;

// The node at a child position; comments and processing instructions count.
pugi::xml_node Child(pugi::xml_node parent, int position);
int CountChildren(pugi::xml_node parent);

// A node that is not an element (a comment, or the script text of an item
// among items with tests) has no attributes: lookups pass over it, reads fail.
// Of two attributes with one name, the first counts.
Value Attribute(pugi::xml_node node, const char* name);

// An element's attributes gathered in one pass, for readers that take many of
// them: each lookup then scans a short array instead of walking the DOM, and
// answers as Attribute on the element would.
class AttributeList {
public:
    explicit AttributeList(pugi::xml_node node);
    // Inline, so that each name is compared as the literal it is.
    Value operator[](std::string_view name) const {
        for (size_t i = 0; i < count_; ++i)
            if (NameIs(entries_[i].name, name)) return std::string_view(entries_[i].value);
        return complete_ ? Value() : Attribute(node_, std::string(name).c_str());
    }

private:
    static bool NameIs(const char* name, std::string_view wanted) {
        for (char c : wanted)
            if (*name++ != c) return false;
        return *name == '\0';
    }

    struct Entry {
        const char* name;
        const char* value;
    };
    // More than any lesson element carries; the rest are looked up on the node.
    static constexpr size_t kCapacity = 16;

    pugi::xml_node node_;
    std::array<Entry, kCapacity> entries_;
    size_t count_ = 0;
    bool complete_ = true;
};

// One text or CDATA child gives its text; no children or an empty text give
// no value; anything else fails.
Value ElementText(pugi::xml_node node);

// Why a value cannot be read; the conversions below are inline, as a page
// reads thousands of values, and only their failures go out of line.
[[noreturn]] void Refuse(const char* why);

inline int32_t ToInteger(const Value& value) {
    if (!value) Refuse("no value for a number");
    const std::optional<int32_t> number = ParseDecimal(*value);
    if (!number) Refuse("not a decimal number");
    return *number;
}

// "true" and "false" in any case, else a number: not zero is true.
inline bool ToBoolean(const Value& value) {
    if (!value) Refuse("no value for a Boolean");
    const auto is = [&](std::string_view lower) {
        return value->size() == lower.size() && std::equal(value->begin(), value->end(), lower.begin(), [](char c, char l) {
                   return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == l;
               });
    };
    if (is("true")) return true;
    if (is("false")) return false;
    return ToInteger(value) != 0;
}

inline std::string ToText(const Value& value) {
    if (!value) Refuse("no value for a text");
    return std::string(*value);
}

// Lookups: an absent value never matches; present text that is no number fails.
bool EqualsInteger(const Value& value, int32_t wanted);
bool EqualsText(const Value& value, std::string_view wanted);
// Absent counts as different from the empty text.
bool DiffersFromEmpty(const Value& value);

inline int32_t IntegerAttribute(pugi::xml_node node, const char* name) { return ToInteger(Attribute(node, name)); }
inline bool BooleanAttribute(pugi::xml_node node, const char* name) { return ToBoolean(Attribute(node, name)); }
inline std::string TextAttribute(pugi::xml_node node, const char* name) { return ToText(Attribute(node, name)); }
inline int32_t IntegerAttribute(const AttributeList& list, std::string_view name) { return ToInteger(list[name]); }
inline bool BooleanAttribute(const AttributeList& list, std::string_view name) { return ToBoolean(list[name]); }
inline std::string TextAttribute(const AttributeList& list, std::string_view name) { return ToText(list[name]); }
inline std::string TextOf(pugi::xml_node node) { return ToText(ElementText(node)); }
inline bool HasId(pugi::xml_node node, int32_t id) { return EqualsInteger(Attribute(node, "Id"), id); }

// The first child whose "Id" equals id, or an empty node.
pugi::xml_node FindById(pugi::xml_node section, int32_t id);

}  // namespace ov::xml
