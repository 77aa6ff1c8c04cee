#include "audio/NetworkSource.h"

#include "audio/SndfileSource.h"
#include "core/CoursewarePath.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace ov {
namespace {

constexpr auto kWaitSlice = std::chrono::milliseconds(20);
constexpr long kConnectTimeoutSeconds = 10;

// The bytes fetched so far. Everything is kept, so the decoder may seek back
// freely (format probing does) and forward as far as the data has come.
class Download {
public:
    Download(std::string url, std::weak_ptr<Voice> voice) : voice_(std::move(voice)) {
        thread_ = std::thread([this, url = std::move(url)] { Fetch(url); });
    }
    ~Download() {
        cancelled_.store(true);
        thread_.join();
    }

    sf_count_t Read(void* out, sf_count_t count);
    sf_count_t Seek(sf_count_t offset, int whence);
    sf_count_t Tell() const { return position_; }
    sf_count_t Length();

private:
    void Fetch(const std::string& url);
    static size_t Arrived(char* data, size_t size, size_t count, void* self);
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    bool Closing();
    // Waits until `predicate` holds, the fetch ended or the voice closes.
    template <typename Predicate>
    void WaitFor(std::unique_lock<std::mutex>& lock, Predicate predicate);

    std::weak_ptr<Voice> voice_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<char> bytes_;
    CURL* curl_ = nullptr;
    curl_off_t expected_ = -1;
    bool finished_ = false;
    std::atomic<bool> cancelled_{false};
    sf_count_t position_ = 0;
    std::thread thread_;
};

bool Download::Closing() {
    if (cancelled_.load()) return true;
    auto voice = voice_.lock();
    return voice == nullptr || voice->closing.load(std::memory_order_acquire);
}

size_t Download::Arrived(char* data, size_t size, size_t count, void* self) {
    auto* download = static_cast<Download*>(self);
    {
        std::lock_guard lock(download->mutex_);
        if (download->expected_ < 0) curl_easy_getinfo(download->curl_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &download->expected_);
        download->bytes_.insert(download->bytes_.end(), data, data + size * count);
    }
    download->arrived_.notify_all();
    return download->Closing() ? 0 : size * count;
}

int Download::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Download*>(self)->Closing() ? 1 : 0;
}

void Download::Fetch(const std::string& url) {
    CURL* curl = curl_easy_init();
    if (curl != nullptr) {
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Download::Arrived);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Download::Progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_ = curl;
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
    }
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    arrived_.notify_all();
}

template <typename Predicate>
void Download::WaitFor(std::unique_lock<std::mutex>& lock, Predicate predicate) {
    auto voice = voice_.lock();
    while (!predicate() && !finished_ && !Closing()) {
        if (voice) {
            voice->starved.store(true, std::memory_order_release);
            voice->NoteProgress();
        }
        arrived_.wait_for(lock, kWaitSlice);
    }
    if (voice) voice->starved.store(false, std::memory_order_release);
}

sf_count_t Download::Read(void* out, sf_count_t count) {
    std::unique_lock lock(mutex_);
    WaitFor(lock, [&] { return static_cast<sf_count_t>(bytes_.size()) >= position_ + count; });
    sf_count_t available = std::max<sf_count_t>(0, static_cast<sf_count_t>(bytes_.size()) - position_);
    sf_count_t got = std::min(count, available);
    if (got > 0) std::memcpy(out, bytes_.data() + position_, static_cast<size_t>(got));
    position_ += got;
    return got;
}

sf_count_t Download::Length() {
    std::unique_lock lock(mutex_);
    if (finished_) return static_cast<sf_count_t>(bytes_.size());
    if (expected_ > 0) return static_cast<sf_count_t>(expected_);
    // A stream without a length: the decoder must not think it ends early.
    return static_cast<sf_count_t>(bytes_.size()) + (sf_count_t{1} << 40);
}

sf_count_t Download::Seek(sf_count_t offset, int whence) {
    sf_count_t base = whence == SEEK_CUR ? position_ : whence == SEEK_END ? Length() : 0;
    position_ = std::max<sf_count_t>(0, base + offset);
    return position_;
}

sf_count_t VirtualLength(void* self) { return static_cast<Download*>(self)->Length(); }
sf_count_t VirtualSeek(sf_count_t offset, int whence, void* self) {
    return static_cast<Download*>(self)->Seek(offset, whence);
}
sf_count_t VirtualRead(void* out, sf_count_t count, void* self) {
    return static_cast<Download*>(self)->Read(out, count);
}
sf_count_t VirtualWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t VirtualTell(void* self) { return static_cast<Download*>(self)->Tell(); }

// Keeps the fetch alive exactly as long as the decoder reading from it.
class NetworkSource final : public SoundSource {
public:
    NetworkSource(std::unique_ptr<Download> download, std::unique_ptr<SndfileSource> decoder)
        : download_(std::move(download)), decoder_(std::move(decoder)) {}
    ~NetworkSource() override { decoder_.reset(); }

    long Read(float* frames, long count) override { return decoder_->Read(frames, count); }
    bool Seek(std::int64_t frame) override { return decoder_->Seek(frame); }
    std::int64_t LengthFrames() const override { return decoder_->LengthFrames(); }

private:
    std::unique_ptr<Download> download_;
    std::unique_ptr<SndfileSource> decoder_;
};

}  // namespace

bool IsNetworkName(const std::string& name) {
    std::string lower = AsciiLower(name.substr(0, 7));
    return lower.rfind("http://", 0) == 0 || lower.rfind("ftp://", 0) == 0;
}

std::unique_ptr<SoundSource> OpenNetworkSource(const std::string& url, std::weak_ptr<Voice> voice) {
    static SF_VIRTUAL_IO io{&VirtualLength, &VirtualSeek, &VirtualRead, &VirtualWrite, &VirtualTell};
    auto download = std::make_unique<Download>(url, std::move(voice));
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, download.get());
    if (file == nullptr) return nullptr;
    auto decoder = SndfileSource::Adopt(file, info);
    if (decoder == nullptr) return nullptr;
    return std::make_unique<NetworkSource>(std::move(download), std::move(decoder));
}

}  // namespace ov
