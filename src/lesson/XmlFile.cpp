#include "lesson/XmlFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/CoursewarePath.h"
#include "core/GbkText.h"
#include "lesson/XmlValue.h"

namespace ov::xml {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

std::string ReadLimited(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) throw XmlFailure("cannot read " + file.string());
    if (size > kMaxDocumentBytes) throw XmlFailure("document too large: " + file.string());
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw XmlFailure("cannot read " + file.string());
    return bytes;
}

bool DeclaresUtf8(std::string_view bytes) {
    if (!bytes.starts_with("<?xml")) return false;
    const std::string declaration = AsciiLower(bytes.substr(0, bytes.find("?>")));
    return declaration.find("\"utf-8\"") != std::string::npos || declaration.find("'utf-8'") != std::string::npos;
}

// Where the next character starts after the multi-byte run at `at`: GBK
// trail bytes may look like ASCII, so the run is walked character by character.
size_t EndOfMultiByteRun(std::string_view bytes, size_t at) {
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) >= 0x80) {
        const bool fourBytes = at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9';
        at = std::min(bytes.size(), at + (fourBytes ? 4 : 2));
    }
    return at;
}

// Lesson files declare "GB2312" but hold GBK; GB18030 decodes both. Markup is
// ASCII, so only the runs of Chinese text go through the converter.
std::string DecodeToUtf8(std::string bytes) {
    if (std::string_view(bytes).starts_with(kUtf8Bom)) return bytes.substr(kUtf8Bom.size());
    const std::string_view all(bytes);
    const auto firstNonAscii = std::find_if(all.begin(), all.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (firstNonAscii == all.end() || DeclaresUtf8(all)) return bytes;
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    size_t at = 0;
    while (at < all.size()) {
        size_t ascii = at;
        while (ascii < all.size() && static_cast<unsigned char>(all[ascii]) < 0x80) ++ascii;
        text.append(all.substr(at, ascii - at));
        at = EndOfMultiByteRun(all, ascii);
        if (at > ascii) text += GbkToUtf8(all.substr(ascii, at - ascii));
    }
    return text;
}

}  // namespace

void LoadDocument(const std::filesystem::path& file, pugi::xml_document& document) {
    const std::string text = DecodeToUtf8(ReadLimited(file));
    const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!result) throw XmlFailure(std::string("not XML: ") + result.description());
}

void SaveDocument(const pugi::xml_document& document, const std::filesystem::path& file) {
    std::ostringstream utf8;
    document.save(utf8, "  ", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
    const auto gbk = Utf8ToGbk(utf8.str());
    if (!gbk) throw XmlFailure("text that GBK cannot hold");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n" << *gbk;
    out.close();
    if (!out) throw XmlFailure("cannot write " + file.string());
}

}  // namespace ov::xml
