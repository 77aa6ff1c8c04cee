#include "lesson/XmlValue.h"

#include <charconv>

#include "core/CoursewarePath.h"


namespace ov::xml {
namespace {

[[noreturn]] void Fail(const char* what) { throw XmlFailure(what); }

std::optional<int32_t> ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    int32_t number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

}  // namespace

pugi::xml_node Child(pugi::xml_node parent, int position) {
    if (position >= 0) {
        int index = 0;
        for (pugi::xml_node child : parent.children())
            if (index++ == position) return child;
    }
    Fail("no node at that position");
}

int CountChildren(pugi::xml_node parent) {
    int count = 0;
    for (auto it = parent.begin(); it != parent.end(); ++it) ++count;
    return count;
}

Value Attribute(pugi::xml_node node, const char* name) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return std::nullopt;
    return std::string_view(attribute.value());
}

Value ElementText(pugi::xml_node node) {
    if (node.type() != pugi::node_element) Fail("text of a node that is not an element");
    pugi::xml_node only = node.first_child();
    if (!only) return std::nullopt;
    if (only.next_sibling() || (only.type() != pugi::node_pcdata && only.type() != pugi::node_cdata))
        Fail("element content is not one text");
    std::string_view text = only.value();
    if (text.empty()) return std::nullopt;
    return text;
}

int32_t ToInteger(const Value& value) {
    if (!value) Fail("no value for a number");
    auto number = ParseDecimal(*value);
    if (!number) Fail("not a decimal number");
    return *number;
}

bool ToBoolean(const Value& value) {
    if (!value) Fail("no value for a Boolean");
    const std::string lower = AsciiLower(*value);
    if (lower == "true") return true;
    if (lower == "false") return false;
    return ToInteger(value) != 0;
}

std::string ToText(const Value& value) {
    if (!value) Fail("no value for a text");
    return std::string(*value);
}

bool EqualsInteger(const Value& value, int32_t wanted) { return value && ToInteger(value) == wanted; }

bool EqualsText(const Value& value, std::string_view wanted) { return value && *value == wanted; }

bool DiffersFromEmpty(const Value& value) { return !value || !value->empty(); }

pugi::xml_node FindById(pugi::xml_node section, int32_t id) {
    for (pugi::xml_node child : section.children())
        if (HasId(child, id)) return child;
    return {};
}

}  // namespace ov::xml
