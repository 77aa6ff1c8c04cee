#include "lesson/XmlValue.h"

#include <algorithm>

#include "store/CipherAndFiles.h"

namespace ov::xml {
namespace {

[[noreturn]] void Fail(const char* what) { throw XmlFailure(what); }

// Compares as AsciiLower(text) == lower would, without a copy for each of
// the thousands of flags on a page.
bool EqualsLowerCase(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char c, char l) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == l; });
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

AttributeList::AttributeList(pugi::xml_node node) : node_(node) {
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        if (count_ == kCapacity) {
            complete_ = false;
            break;
        }
        entries_[count_++] = {attribute.name(), attribute.value()};
    }
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
    if (EqualsLowerCase(*value, "true")) return true;
    if (EqualsLowerCase(*value, "false")) return false;
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
