#include "lesson/XmlFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/CoursewarePath.h"
#include "core/GbkText.h"
#include "core/UniqueFd.h"
#include "lesson/XmlValue.h"

namespace ov::xml {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

// Memory that pugixml parses in place and frees with the document, so that
// the file's bytes are not copied once more before parsing.
class ParseBuffer {
public:
    // One byte more, so that an empty file has memory to hand over too.
    explicit ParseBuffer(size_t size)
        : size_(size), data_(static_cast<char*>(pugi::get_memory_allocation_function()(size + 1))) {
        if (!data_) throw std::bad_alloc();
    }
    ParseBuffer(ParseBuffer&& other) noexcept : size_(other.size_), data_(std::exchange(other.data_, nullptr)) {}
    ParseBuffer& operator=(ParseBuffer&&) = delete;
    ~ParseBuffer() {
        if (data_) pugi::get_memory_deallocation_function()(data_);
    }

    char* data() const { return data_; }
    size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }
    void Shrink(size_t size) { size_ = size; }

    // The document owns the memory from here on, whether parsing succeeds or not.
    pugi::xml_parse_result ParseInto(pugi::xml_document& document) {
        return document.load_buffer_inplace_own(std::exchange(data_, nullptr), size_, kParseOptions,
                                                pugi::encoding_utf8);
    }

private:
    size_t size_;
    char* data_;
};

// One descriptor for size and content: lesson pages are read often enough
// that the stream machinery and a second lookup of the path show.
ParseBuffer ReadLimited(const std::filesystem::path& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) throw XmlFailure("cannot read " + file.string());
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > kMaxDocumentBytes) throw XmlFailure("document too large: " + file.string());
    ParseBuffer bytes(static_cast<size_t>(size));
    if (ReadFull(fd.get(), bytes.data(), bytes.size()) != bytes.size()) throw XmlFailure("cannot read " + file.string());
    return bytes;
}

bool DeclaresUtf8(std::string_view bytes) {
    if (!bytes.starts_with("<?xml")) return false;
    const std::string declaration = AsciiLower(bytes.substr(0, bytes.find("?>")));
    return declaration.find("\"utf-8\"") != std::string::npos || declaration.find("'utf-8'") != std::string::npos;
}

// Markup is nearly all ASCII, so it is skipped 32 bytes at a time, in a loop
// simple enough for the compiler to do in vector registers.
size_t NextNonAscii(std::string_view bytes, size_t at) {
    constexpr size_t kBlock = 32;
    for (; at + kBlock <= bytes.size(); at += kBlock) {
        unsigned char any = 0;
        for (size_t i = 0; i < kBlock; ++i) any |= static_cast<unsigned char>(bytes[at + i]);
        if (any & 0x80) break;
    }
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) ++at;
    return at;
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

struct Run {
    size_t begin, end;
};

std::vector<Run> MultiByteRuns(std::string_view bytes) {
    std::vector<Run> runs;
    for (size_t at = NextNonAscii(bytes, 0); at < bytes.size(); at = NextNonAscii(bytes, at)) {
        const size_t end = EndOfMultiByteRun(bytes, at);
        runs.push_back({at, end});
        at = end;
    }
    return runs;
}

// The UTF-8 text of every run. Each run is decoded on its own, so that a
// damaged character cannot swallow the markup after its run. Text without
// damage decodes alike in one piece, which saves a converter call per run:
// the runs go through together, joined by line feeds that no GBK character
// contains, and any replacement character sends them through one by one.
std::vector<std::string_view> DecodeRuns(std::string_view bytes, const std::vector<Run>& runs, std::string& storage) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string joined;
    for (const Run& run : runs) joined.append(bytes.substr(run.begin, run.end - run.begin)).push_back('\n');
    storage = GbkToUtf8(joined);
    std::vector<std::string_view> texts;
    texts.reserve(runs.size());
    if (storage.find(kReplacement) == std::string::npos) {
        for (size_t at = 0, end; (end = storage.find('\n', at)) != std::string::npos; at = end + 1)
            texts.push_back(std::string_view(storage).substr(at, end - at));
        if (texts.size() == runs.size()) return texts;
        texts.clear();
    }
    std::vector<size_t> ends;
    storage.clear();
    for (const Run& run : runs) {
        storage += GbkToUtf8(bytes.substr(run.begin, run.end - run.begin));
        ends.push_back(storage.size());
    }
    for (size_t i = 0; i < ends.size(); ++i) {
        const size_t begin = i ? ends[i - 1] : 0;
        texts.push_back(std::string_view(storage).substr(begin, ends[i] - begin));
    }
    return texts;
}

// The bytes with each run replaced by its text, in memory the parser can own.
ParseBuffer Splice(std::string_view bytes, const std::vector<Run>& runs, const std::vector<std::string_view>& texts) {
    size_t size = bytes.size();
    for (size_t i = 0; i < runs.size(); ++i) size = size - (runs[i].end - runs[i].begin) + texts[i].size();
    ParseBuffer spliced(size);
    char* out = spliced.data();
    size_t at = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        out = std::copy(bytes.begin() + static_cast<ptrdiff_t>(at), bytes.begin() + static_cast<ptrdiff_t>(runs[i].begin), out);
        out = std::copy(texts[i].begin(), texts[i].end(), out);
        at = runs[i].end;
    }
    std::copy(bytes.begin() + static_cast<ptrdiff_t>(at), bytes.end(), out);
    return spliced;
}

// Lesson files declare "GB2312" but hold GBK; GB18030 decodes both. Markup is
// ASCII, so only the runs of Chinese text go through the converter.
ParseBuffer DecodeToUtf8(ParseBuffer bytes) {
    const std::string_view all = bytes.view();
    if (all.starts_with(kUtf8Bom)) {
        std::memmove(bytes.data(), bytes.data() + kUtf8Bom.size(), all.size() - kUtf8Bom.size());
        bytes.Shrink(all.size() - kUtf8Bom.size());
        return bytes;
    }
    if (DeclaresUtf8(all)) return bytes;
    const std::vector<Run> runs = MultiByteRuns(all);
    if (runs.empty()) return bytes;
    std::string storage;
    return Splice(all, runs, DecodeRuns(all, runs, storage));
}

// "line 3, column 7" of a place in the decoded text, as an author's editor
// counts: lines from 1, characters (not bytes) from 1.
std::string Place(std::string_view text, size_t offset) {
    offset = std::min(offset, text.size());
    size_t line = 1;
    size_t column = 1;
    for (size_t at = 0; at < offset; ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

void LoadDocument(const std::filesystem::path& file, pugi::xml_document& document) {
    const pugi::xml_parse_result result = DecodeToUtf8(ReadLimited(file)).ParseInto(document);
    if (result) return;
    // The parser has taken the text apart in place; the place of the fault
    // is counted on a fresh copy, which only a broken page costs.
    const ParseBuffer text = DecodeToUtf8(ReadLimited(file));
    throw XmlFailure(std::string("not XML: ") + result.description() + " at " +
                     Place(text.view(), static_cast<size_t>(result.offset)));
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
