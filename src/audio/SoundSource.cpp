#include "audio/SoundSource.h"

#include "audio/ModuleSource.h"
#include "audio/MpegSource.h"
#include "audio/SndfileSource.h"
#include "core/Log.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace ov {
namespace {

// Tracker modules are small; anything bigger is not worth reading into memory to find out.
constexpr std::uintmax_t kLargestModule = 64u << 20;

std::unique_ptr<SoundSource> OpenModule(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kLargestModule) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ModuleSource::FromBytes(bytes);
}

// Whether the file opens with an MPEG frame header, perhaps behind an ID3v2
// tag; no other format we play starts so. Such files skip libsndfile, whose
// own mpg123 is not quiet about damaged frames.
bool StartsWithMpegFrame(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[10] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return false;
    if (head[0] == 'I' && head[1] == 'D' && head[2] == '3') {
        std::streamoff tagSize = (head[6] & 0x7F) << 21 | (head[7] & 0x7F) << 14 | (head[8] & 0x7F) << 7 | (head[9] & 0x7F);
        std::streamoff footer = (head[5] & 0x10) != 0 ? 10 : 0;
        if (!in.seekg(10 + tagSize + footer) || !in.read(reinterpret_cast<char*>(head), 2)) return false;
    }
    return head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}

}  // namespace

// libsndfile's content detection is strict about what it takes, but its MPEG
// length is a guess from the first frame, so MPEG it finds goes to libmpg123
// too. mpg123 resynchronises over junk, so it gets the files libsndfile
// turns down only before the module probe, which reads the whole file.
std::unique_ptr<SoundSource> OpenSoundFile(const std::string& path) {
    if (StartsWithMpegFrame(path)) return MpegSource::Open(path);
    SF_INFO info{};
    if (SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info)) {
        if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG) {
            auto source = SndfileSource::Adopt(file, info);
            if (!source)
                Log(LogLevel::Warning, "audio",
                    path + ": " + std::to_string(info.samplerate) + " Hz, " + std::to_string(info.channels) +
                        " channels: not a sound file that can be played");
            return source;
        }
        sf_close(file);
        return MpegSource::Open(path);
    }
    if (auto mpeg = MpegSource::Open(path)) return mpeg;
    return OpenModule(path);
}

}  // namespace ov
