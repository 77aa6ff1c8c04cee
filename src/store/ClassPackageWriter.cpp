#include "store/ClassPackageWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/GbkText.h"
#include "core/UniqueFd.h"
#include "store/ClassPackageIndex.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMark = "O";
constexpr std::string_view kFormat = "OVCLASSPACK ";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kText = "ovplayer class package";
// Members are read and compressed in slices of this size.
constexpr size_t kSlice = size_t{1} << 20;

struct Entry {
    fs::path file;
    std::string relative;  // UTF-8 with "/"
};

void PutInt32(std::string& out, int64_t value) {
    if (value < 0 || value > INT32_MAX) throw EStreamError("the package would outgrow its 32-bit sizes");
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}

std::vector<Entry> ListMembers(const fs::path& folder) {
    std::vector<Entry> entries;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, error), end;
    if (error) throw EStreamError("cannot read the folder " + folder.string() + ": " + error.message());
    for (; it != end; it.increment(error)) {
        if (error) throw EStreamError("cannot read below " + folder.string() + ": " + error.message());
        if (it->is_regular_file()) entries.push_back({it->path(), it->path().lexically_relative(folder).generic_string()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.relative < b.relative; });
    return entries;
}

std::string StoredName(const std::string& relative) {
    if (relative.find_first_of("\\\r\n") != std::string::npos)
        throw EConvertError("a member name cannot hold \"\\\" or a line break: " + relative);
    std::string name = relative;
    std::replace(name.begin(), name.end(), '/', '\\');
    auto gbk = Utf8ToGbk(name);
    if (!gbk) throw EConvertError("the name has characters that GBK cannot hold: " + relative);
    return *gbk;
}

std::string Header() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[11];
    std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
    std::string header;
    header.append(kMark).append(kFormat).append(kVersion).append(date, 10);
    PutInt32(header, static_cast<int64_t>(kText.size()));
    header.append(kText);
    header.resize(kClassHeaderSize, '\0');
    return header;
}

// The tables come before the data but hold the compressed sizes, so the data
// is streamed out first and the index is written over its placeholder after.
class PackageOutput {
public:
    explicit PackageOutput(const fs::path& package) : path_(package) {
        fd_ = ::open(package.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) throw EStreamError("cannot create " + package.string());
    }
    ~PackageOutput() {
        if (fd_ < 0) return;
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    PackageOutput(const PackageOutput&) = delete;
    PackageOutput& operator=(const PackageOutput&) = delete;

    void WriteAt(off_t offset, const std::string& bytes) {
        if (::lseek(fd_, offset, SEEK_SET) != offset || WriteFull(fd_, bytes.data(), bytes.size()) != bytes.size())
            throw EStreamError("cannot write " + path_.string());
    }
    void Append(std::string_view bytes) {
        if (WriteFull(fd_, bytes.data(), bytes.size()) != bytes.size()) throw EStreamError("cannot write " + path_.string());
    }
    void Finish() {
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0) {
            ::unlink(path_.c_str());
            throw EStreamError("cannot write " + path_.string());
        }
    }

private:
    fs::path path_;
    int fd_ = -1;  // closed by hand: a failing close means a lost write
};

struct PackedMember {
    int64_t size = 0;
    int64_t packedSize = 0;
};

class Deflater {
public:
    Deflater() {
        if (deflateInit(&z_, Z_DEFAULT_COMPRESSION) != Z_OK) throw EStreamError("zlib could not compress a member");
    }
    ~Deflater() { deflateEnd(&z_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    z_stream& operator*() { return z_; }

private:
    z_stream z_{};
};

// Compresses one file onto the end of the package a slice at a time, so that
// memory stays small whatever the member's size.
PackedMember AppendCompressed(const fs::path& file, PackageOutput& out) {
    const UniqueFd in(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!in || ::fstat(in.get(), &status) != 0) throw EStreamError("cannot read " + file.string());
    if (status.st_size > INT32_MAX)
        throw EStreamError(file.string() + " is larger than a package member can be");
    Deflater deflater;
    z_stream& z = *deflater;
    std::string input(kSlice, '\0');
    std::string output(kSlice, '\0');
    PackedMember packed;
    for (int flush = Z_NO_FLUSH; flush != Z_FINISH;) {
        const size_t read = ReadFull(in.get(), input.data(), input.size());
        packed.size += static_cast<int64_t>(read);
        if (packed.size > INT32_MAX) throw EStreamError(file.string() + " is larger than a package member can be");
        flush = read < input.size() ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(input.data());
        z.avail_in = static_cast<uInt>(read);
        do {
            z.next_out = reinterpret_cast<Bytef*>(output.data());
            z.avail_out = static_cast<uInt>(output.size());
            if (deflate(&z, flush) == Z_STREAM_ERROR) throw EStreamError("zlib could not compress a member");
            const size_t produced = output.size() - z.avail_out;
            out.Append(std::string_view(output.data(), produced));
            packed.packedSize += static_cast<int64_t>(produced);
        } while (z.avail_out == 0);
    }
    // A file that changed size while it was read would be stored wrong.
    if (packed.size != status.st_size) throw EStreamError("cannot read " + file.string() + " whole");
    return packed;
}

std::string Index(const std::vector<std::string>& names, const std::vector<int64_t>& sizes,
                  const std::vector<int64_t>& offsets, const std::vector<int64_t>& packedSizes) {
    const auto count = static_cast<int64_t>(names.size());
    std::string nameList;
    for (const auto& name : names) nameList.append(name).append("\r\n");
    std::string index;
    PutInt32(index, count);
    PutInt32(index, 4 * count);
    PutInt32(index, static_cast<int64_t>(nameList.size()));
    PutInt32(index, 4 * count);
    PutInt32(index, 4 * count);
    PutInt32(index, count == 0 ? 0 : offsets.back() + packedSizes.back());
    for (int64_t size : sizes) PutInt32(index, size);
    index += nameList;
    for (int64_t offset : offsets) PutInt32(index, offset);
    for (int64_t size : packedSizes) PutInt32(index, size);
    return index;
}

}  // namespace

void WriteClassPackage(const fs::path& folder, const fs::path& package) {
    const auto entries = ListMembers(folder);
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(StoredName(entry.relative));
    std::vector<int64_t> sizes(entries.size()), offsets(entries.size()), packedSizes(entries.size());

    PackageOutput out(package);
    const std::string placeholder = Index(names, sizes, sizes, sizes);
    out.WriteAt(0, Header() + placeholder);
    int64_t offset = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const PackedMember packed = AppendCompressed(entries[i].file, out);
        sizes[i] = packed.size;
        offsets[i] = offset;
        packedSizes[i] = packed.packedSize;
        offset += packedSizes[i];
        if (offset > INT32_MAX) throw EStreamError("the members are larger than a package can hold");
    }
    out.WriteAt(static_cast<off_t>(kClassHeaderSize), Index(names, sizes, offsets, packedSizes));
    out.Finish();
}

}  // namespace ov
