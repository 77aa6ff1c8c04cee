#pragma once

#include "audio/ResampledSource.h"

#include <memory>
#include <string>

struct mpg123_handle_struct;

namespace ov {

// MPEG audio (layers I, II and III) decoded by libmpg123. The whole file's
// frame headers are walked once at opening, so the length is exact even for
// VBR files without an info header, where any estimate from the first frame
// can be off many times over, and seeks land on the sample.
class MpegSource final : public ResampledSource {
public:
    // Null when the file holds no MPEG audio stream.
    static std::unique_ptr<MpegSource> Open(const std::string& path);
    ~MpegSource() override;

private:
    MpegSource(mpg123_handle_struct* handle, int rate, std::int64_t length);
    long ReadNative(float* frames, long count) override;
    bool SeekNative(std::int64_t frame) override;
    std::int64_t NativeLength() const override { return length_; }

    mpg123_handle_struct* handle_;
    std::int64_t length_;
};

}  // namespace ov
