#include "audio/SoundSource.h"

#include "audio/ModuleSource.h"
#include "audio/SndfileSource.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace ov {
namespace {

// Tracker modules are small; anything bigger is not worth reading into memory to find out.
constexpr std::uintmax_t kLargestModule = 64u << 20;

}  // namespace

std::unique_ptr<SoundSource> OpenSoundFile(const std::string& path) {
    SF_INFO info{};
    if (SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info)) return SndfileSource::Adopt(file, info);
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kLargestModule) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ModuleSource::FromBytes(bytes);
}

}  // namespace ov
