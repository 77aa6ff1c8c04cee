#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// The leading header fields of a class package, as stored (GBK). The unpacker
// reads none of them; the writer puts a format tag, a version and a date there.
struct ClassHeader {
    std::string mark;     // 1 byte
    std::string format;   // 12 bytes
    std::string version;  // 1 byte
    std::string date;     // 10 bytes
    int32_t textLength = 0;
    std::string text;     // the textLength bytes after the length, kept inside the header
};

inline constexpr size_t kClassHeaderSize = 2048;

// Takes the fields from the first bytes of a package; fields that the bytes do
// not reach stay short, and a text length that points outside the header gives
// only the part of the text inside it.
ClassHeader ReadClassHeader(std::string_view header);

struct ClassMember {
    int64_t unpackedSize = 0;
    int64_t offset = 0;  // within the data block
    int64_t compressedSize = 0;
    std::string name;               // as stored: GBK with "\" between folders
    std::vector<std::string> path;  // the components on disk (UTF-8) below the package root
};

// Reads and checks the index of a mapped package in the unpacker's order, one
// step at a time so that the caller can report progress between steps. Nothing
// is allocated from a stated size before that size was checked against the
// file, so a hostile index cannot make the reader claim memory.
class ClassPackageIndex {
public:
    explicit ClassPackageIndex(std::span<const std::byte> file) : file_(file) {}

    bool ReadHeader();
    bool ReadCount();
    bool ReadBlockSizes();
    bool CutBlocks();
    // Members() gets every sound member up to the first bad one, Error() why
    // that one is bad.
    void ReadMembers();
    // All steps; true when every member is sound.
    bool ReadAll();

    const ClassHeader& Header() const { return header_; }
    int32_t Count() const { return count_; }
    std::span<const std::byte> Data() const { return blocks_[4]; }
    const std::vector<ClassMember>& Members() const { return members_; }
    bool Complete() const { return members_.size() == static_cast<size_t>(count_); }
    const std::string& Error() const { return error_; }

private:
    bool Fail(std::string why);
    bool MemberFails(size_t index, const std::string& why);
    bool CheckMember(size_t index, ClassMember& member);

    std::span<const std::byte> file_;
    ClassHeader header_;
    int32_t count_ = 0;
    int32_t blockSizes_[5] = {};
    std::span<const std::byte> blocks_[5];
    std::vector<ClassMember> members_;
    std::string error_;
};

}  // namespace ov
