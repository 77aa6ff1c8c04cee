#pragma once

#include <pugixml.hpp>

#include "lesson/XmlValue.h"

// Readers shared by the records that sit at a place on the page. The
// attributes are read in the order height before width, which is the order
// GetGame fills its output in when a later attribute fails.
namespace ov::xml {

template <typename Record>
void ReadPlace(const AttributeList& element, Record& record) {
    record.Id = IntegerAttribute(element, "Id");
    record.Top = IntegerAttribute(element, "Top");
    record.Left = IntegerAttribute(element, "Left");
    record.Height = IntegerAttribute(element, "Height");
    record.Width = IntegerAttribute(element, "Width");
}

template <typename Record>
void ReadMovie(const AttributeList& element, Record& record) {
    ReadPlace(element, record);
    record.Movie = TextAttribute(element, "Movie");
}

}  // namespace ov::xml
