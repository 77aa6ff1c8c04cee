#pragma once

#include "audio/SoundSource.h"
#include "audio/Voice.h"

#include <memory>
#include <string>

namespace ov {

// True for names the library fetches from the network: "http://" and "ftp://" in any case.
bool IsNetworkName(const std::string& name);

// Fetches `url` with libcurl on its own thread and decodes it as the bytes
// arrive. Blocks (on the caller's decoding thread) until the format is known;
// null when the fetch or the format fails, or the voice closes meanwhile.
// While a read waits for data the voice is marked starved.
std::unique_ptr<SoundSource> OpenNetworkSource(const std::string& url, std::weak_ptr<Voice> voice);

}  // namespace ov
