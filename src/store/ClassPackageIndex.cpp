#include "store/ClassPackageIndex.h"

#include <cstring>
#include <optional>

#include "core/GbkText.h"
#include "store/SafeFolders.h"

namespace ov {
namespace {

constexpr size_t kCountOffset = kClassHeaderSize;
constexpr size_t kBlocksOffset = kCountOffset + 4 * 6;
constexpr int64_t kMaxUnpackedSize = int64_t{1} << 31;
// Deflate cannot expand a byte to more than about 1032 bytes; a stated size
// beyond that is a lie meant to make us allocate.
constexpr int64_t kMaxInflateRatio = 1032;

const char* const kBlockNames[5] = {"size table", "name list", "offset table", "compressed-size table", "data block"};

int32_t Int32At(std::span<const std::byte> bytes, size_t offset) {
    uint8_t b[4];
    std::memcpy(b, bytes.data() + offset, 4);
    return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
}

std::string_view Text(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Lines end with CR LF, LF or CR; a last line without an end still counts.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    std::optional<std::string_view> Next() {
        if (pos_ >= text_.size()) return std::nullopt;
        size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n') ++pos_;
        return line;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

ClassHeader ReadClassHeader(std::string_view header) {
    header = header.substr(0, kClassHeaderSize);
    auto field = [&](size_t offset, size_t size) {
        return offset < header.size() ? std::string(header.substr(offset, size)) : std::string();
    };
    ClassHeader result{field(0, 1), field(1, 12), field(13, 1), field(14, 10), 0, {}};
    if (header.size() >= 28) {
        result.textLength = Int32At(std::as_bytes(std::span(header.data(), header.size())), 24);
        if (result.textLength > 0) result.text = field(28, static_cast<size_t>(result.textLength));
    }
    return result;
}

bool ClassPackageIndex::Fail(std::string why) {
    error_ = std::move(why);
    return false;
}

bool ClassPackageIndex::MemberFails(size_t index, const std::string& why) {
    return Fail("member " + std::to_string(index) + ": " + why);
}

bool ClassPackageIndex::ReadHeader() {
    if (file_.size() < kClassHeaderSize) return Fail("the file is shorter than the package header");
    header_ = ReadClassHeader(Text(file_.first(kClassHeaderSize)));
    return true;
}

bool ClassPackageIndex::ReadCount() {
    if (file_.size() < kCountOffset + 4) return Fail("the file ends before the member count");
    count_ = Int32At(file_, kCountOffset);
    if (count_ < 0) return Fail("negative member count " + std::to_string(count_));
    return true;
}

bool ClassPackageIndex::ReadBlockSizes() {
    if (file_.size() < kBlocksOffset) return Fail("the file ends before the block sizes");
    for (int i = 0; i < 5; ++i) {
        blockSizes_[i] = Int32At(file_, kCountOffset + 4 + 4 * static_cast<size_t>(i));
        if (blockSizes_[i] < 0)
            return Fail(std::string("negative size of the ") + kBlockNames[i] + ": " + std::to_string(blockSizes_[i]));
    }
    return true;
}

bool ClassPackageIndex::CutBlocks() {
    size_t offset = kBlocksOffset;
    for (int i = 0; i < 5; ++i) {
        const auto size = static_cast<size_t>(blockSizes_[i]);
        if (size > file_.size() - offset) return Fail(std::string("the ") + kBlockNames[i] + " runs past the end of the file");
        blocks_[i] = file_.subspan(offset, size);
        offset += size;
    }
    return true;
}

bool ClassPackageIndex::CheckMember(size_t index, ClassMember& member) {
    const size_t entry = 4 * index;
    if (entry + 4 > blocks_[0].size()) return MemberFails(index, "the size table ends before this entry");
    if (entry + 4 > blocks_[2].size()) return MemberFails(index, "the offset table ends before this entry");
    if (entry + 4 > blocks_[3].size()) return MemberFails(index, "the compressed-size table ends before this entry");
    member.unpackedSize = Int32At(blocks_[0], entry);
    member.offset = Int32At(blocks_[2], entry);
    member.compressedSize = Int32At(blocks_[3], entry);
    if (member.offset < 0 || member.compressedSize < 0) return MemberFails(index, "negative offset or compressed size");
    if (member.offset + member.compressedSize > static_cast<int64_t>(blocks_[4].size()))
        return MemberFails(index, "its data runs past the end of the data block");
    if (member.unpackedSize < 0 || member.unpackedSize > kMaxUnpackedSize ||
        member.unpackedSize > kMaxInflateRatio * member.compressedSize)
        return MemberFails(index, "impossible unpacked size " + std::to_string(member.unpackedSize) + " for " +
                                      std::to_string(member.compressedSize) + " compressed bytes");
    auto path = SplitBelowPath(GbkToUtf8(member.name));
    if (!path) return MemberFails(index, "the name \"" + GbkToUtf8(member.name) + "\" leads outside the destination");
    member.path = std::move(*path);
    return true;
}

void ClassPackageIndex::ReadMembers() {
    members_.clear();
    error_.clear();
    LineReader names(Text(blocks_[1]));
    for (size_t i = 0; i < static_cast<size_t>(count_); ++i) {
        auto line = names.Next();
        if (!line) {
            MemberFails(i, "the name list ends before this line");
            return;
        }
        ClassMember member;
        member.name = std::string(*line);
        if (!CheckMember(i, member)) return;
        members_.push_back(std::move(member));
    }
}

bool ClassPackageIndex::ReadAll() {
    if (!ReadHeader() || !ReadCount() || !ReadBlockSizes() || !CutBlocks()) return false;
    ReadMembers();
    return Complete();
}

}  // namespace ov
