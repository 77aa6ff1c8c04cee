#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>

namespace ov::xml {

// Larger documents are refused rather than parsed: lesson pages are tens of
// kilobytes, and deep nesting costs the parser many times a document's size.
inline constexpr std::uintmax_t kMaxDocumentBytes = 8u << 20;

// Parses a lesson folder's document into `document`. Text is decoded as
// GB18030 unless the file says it is UTF-8. No DTD is read and no entity but
// the five built-in ones is expanded. Throws XmlFailure.
void LoadDocument(const std::filesystem::path& file, pugi::xml_document& document);

// Writes the document with the declaration encoding "GB2312", its text encoded
// as GBK. Throws XmlFailure, also for text that GBK cannot hold.
void SaveDocument(const pugi::xml_document& document, const std::filesystem::path& file);

}  // namespace ov::xml
