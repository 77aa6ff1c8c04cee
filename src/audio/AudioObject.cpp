#include "audio/AudioObject.h"

namespace ov {

void TAudioObject::Play(const std::string& name) {
    Stop();
    if (IsSupportedFile(name)) TAudioEngine::Play(name);
}

bool TAudioObject::PlayURL(const std::string& name) {
    Stop();
    return TAudioEngine::PlayURL(name);
}

std::string TAudioObject::GetFilter() { return TAudioEngine::GetFilter() + "|Playlist (pls/m3u)|*.pls;*.m3u"; }

}  // namespace ov
