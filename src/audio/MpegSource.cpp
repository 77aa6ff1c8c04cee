#include "audio/MpegSource.h"

#include <mpg123.h>

namespace ov {
namespace {

constexpr std::size_t kBytesPerFrame = 2 * sizeof(float);

struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

// A layer III frame may take its data from as far as 511 bytes back, which
// in small VBR frames spans many frames: a seek decodes these first, or the
// samples after it come out as silence.
constexpr long kFramesBeforeSeek = 32;

// Stereo float at whatever rate the file has: the rate conversion is ours,
// and mono comes out doubled.
Handle NewHandle() {
    Handle handle(mpg123_new(nullptr, nullptr));
    if (handle == nullptr) return nullptr;
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_param(handle.get(), MPG123_PREFRAMES, kFramesBeforeSeek, 0);
    mpg123_format_none(handle.get());
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        if (mpg123_format(handle.get(), rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK) return nullptr;
    }
    return handle;
}

}  // namespace

std::unique_ptr<MpegSource> MpegSource::Open(const std::string& path) {
    Handle handle = NewHandle();
    if (handle == nullptr || mpg123_open(handle.get(), path.c_str()) != MPG123_OK) return nullptr;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK) return nullptr;
    if (mpg123_scan(handle.get()) != MPG123_OK) return nullptr;
    off_t length = mpg123_length(handle.get());
    if (length < 0) return nullptr;
    std::unique_ptr<MpegSource> source(new MpegSource(handle.release(), static_cast<int>(rate), length));
    if (!source->Convertible()) return nullptr;
    return source;
}

MpegSource::MpegSource(mpg123_handle* handle, int rate, std::int64_t length)
    : ResampledSource(rate), handle_(handle), length_(length) {}

MpegSource::~MpegSource() { HandleCloser()(handle_); }

long MpegSource::ReadNative(float* frames, long count) {
    auto* out = reinterpret_cast<unsigned char*>(frames);
    const std::size_t wanted = static_cast<std::size_t>(count) * kBytesPerFrame;
    std::size_t filled = 0;
    while (filled < wanted) {
        std::size_t done = 0;
        int result = mpg123_read(handle_, out + filled, wanted - filled, &done);
        filled += done;
        // A format change mid-stream still comes out as stereo float; anything else ends the sound.
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
        if (done == 0 && result == MPG123_OK) break;
    }
    return static_cast<long>(filled / kBytesPerFrame);
}

bool MpegSource::SeekNative(std::int64_t frame) { return mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET) >= 0; }

}  // namespace ov
