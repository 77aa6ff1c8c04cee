#pragma once

#include <zlib.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/ClassZip.h"

namespace ovtest {

inline std::string Zlib(std::string_view data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION);
    out.resize(size);
    return out;
}

// A package assembled field by field, so that a test can state any lie the
// writer would never produce.
struct RawMember {
    std::string name;  // GBK, "\" between folders
    std::string packed;
    int32_t unpacked = 0;
    std::optional<int32_t> offset;  // default: where the data really is
    std::optional<int32_t> packedSize;

    static RawMember Of(std::string name, std::string_view content) {
        return {std::move(name), Zlib(content), static_cast<int32_t>(content.size()), {}, {}};
    }
};

struct RawPackage {
    RawPackage() = default;
    explicit RawPackage(std::vector<RawMember> list) : members(std::move(list)) {}

    std::vector<RawMember> members;
    std::optional<int32_t> count;
    std::array<std::optional<int32_t>, 5> blockSizes;  // stated sizes that lie
    std::array<std::optional<size_t>, 5> cut;          // blocks cut short, sizes stated truthfully
    std::string lineEnd = "\r\n";

    std::string Bytes() const {
        std::string sizes, names, offsets, packedSizes, data;
        for (const auto& m : members) {
            Put(sizes, m.unpacked);
            names += m.name + lineEnd;
            Put(offsets, m.offset.value_or(static_cast<int32_t>(data.size())));
            Put(packedSizes, m.packedSize.value_or(static_cast<int32_t>(m.packed.size())));
            data += m.packed;
        }
        std::string blocks[5] = {sizes, names, offsets, packedSizes, data};
        for (int i = 0; i < 5; ++i)
            if (cut[i]) blocks[i].resize(*cut[i]);
        std::string out(2048, '\0');
        Put(out, count.value_or(static_cast<int32_t>(members.size())));
        for (int i = 0; i < 5; ++i) Put(out, blockSizes[i].value_or(static_cast<int32_t>(blocks[i].size())));
        for (const auto& block : blocks) out += block;
        return out;
    }

    static void Put(std::string& out, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
    }
};

// Records every call in order: "min 0", "pos 3", "max 8".
class RecordingBar : public ov::ProgressSink {
public:
    void SetMinimum(int value) override { calls.push_back("min " + std::to_string(value)); }
    void SetMaximum(int value) override {
        maximum = value;
        calls.push_back("max " + std::to_string(value));
    }
    void SetPosition(int value) override {
        position = value;
        calls.push_back("pos " + std::to_string(value));
    }
    int Maximum() const override { return maximum; }

    std::vector<std::string> calls;
    int maximum = 100;
    int position = -1;
};

}  // namespace ovtest
