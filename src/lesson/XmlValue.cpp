#include "lesson/XmlValue.h"

namespace ov::xml {

void Refuse(const char* why) { throw XmlFailure(why); }

pugi::xml_node Child(pugi::xml_node parent, int position) {
    if (position >= 0) {
        int index = 0;
        for (pugi::xml_node child : parent.children())
            if (index++ == position) return child;
    }
    Refuse("no node at that position");
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
    // The end of the list answers an empty name, which no parsed attribute
    // has, so only an empty name needs asking whether the list has ended:
    // each call into the parser's library costs about as much as the rest.
    for (pugi::xml_attribute attribute = node.first_attribute();; attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        if (*name == '\0' && !attribute) break;
        if (count_ == kCapacity) {
            complete_ = false;
            break;
        }
        entries_[count_++] = {name, attribute.value()};
    }
}

Value ElementText(pugi::xml_node node) {
    if (node.type() != pugi::node_element) Refuse("text of a node that is not an element");
    pugi::xml_node only = node.first_child();
    if (!only) return std::nullopt;
    if (only.next_sibling() || (only.type() != pugi::node_pcdata && only.type() != pugi::node_cdata))
        Refuse("element content is not one text");
    std::string_view text = only.value();
    if (text.empty()) return std::nullopt;
    return text;
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
