#include "net/HttpFetch.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>

namespace ov {
namespace {

constexpr long kConnectTimeoutMs = 3000;
// A server that sends nothing for this long has gone.
constexpr long kStallSeconds = 15;

struct Transfer {
    CURL* curl;
    const FetchRequest& request;
    const std::function<bool(std::string_view)>& body;
    std::uint64_t received = 0;
    bool overLimit = false;
    bool cancelled = false;
};

size_t Arrived(char* data, size_t size, size_t count, void* self) {
    auto& transfer = *static_cast<Transfer*>(self);
    const size_t bytes = size * count;
    if (transfer.received == 0 && transfer.request.started) {
        long status = 0;
        curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
        transfer.request.started(status == 200);
    }
    if (transfer.received + bytes > transfer.request.limit) {
        transfer.overLimit = true;
        return 0;
    }
    transfer.received += bytes;
    if (!transfer.body({data, bytes})) {
        transfer.cancelled = true;
        return 0;
    }
    if (transfer.request.progress && !transfer.request.progress(transfer.received)) {
        transfer.cancelled = true;
        return 0;
    }
    return bytes;
}

std::string Header(CURL* curl, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK) return {};
    return header->value;
}

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

std::string_view UrlScheme(std::string_view url) {
    if (url.starts_with("https://")) return "https";
    if (url.starts_with("http://")) return "http";
    return {};
}

FetchResult HttpFetch(const FetchRequest& request, const std::function<bool(std::string_view)>& body) {
    FetchResult result;
    const std::string scheme(UrlScheme(request.url));
    if (scheme.empty()) {
        result.outcome = FetchOutcome::Refused;
        result.error = "not an http or https URL";
        return result;
    }
    InitOnce();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), &curl_easy_cleanup);
    CURL* curl = handle.get();
    Transfer transfer{curl, request, body};
    curl_slist* headers = nullptr;
    if (!request.known.etag.empty()) headers = curl_slist_append(headers, ("If-None-Match: " + request.known.etag).c_str());
    if (!request.known.lastModified.empty())
        headers = curl_slist_append(headers, ("If-Modified-Since: " + request.known.lastModified).c_str());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(headers, &curl_slist_free_all);
    const std::string range = std::to_string(request.from) + "-";

    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, scheme.c_str());
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, scheme.c_str());
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList.get());
    if (request.from > 0) curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Arrived);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);

    const CURLcode code = curl_easy_perform(curl);
    result.received = transfer.received;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.validators = {Header(curl, "ETag"), Header(curl, "Last-Modified")};
    if (transfer.cancelled) {
        result.outcome = FetchOutcome::Cancelled;
    } else if (transfer.overLimit) {
        result.outcome = FetchOutcome::Refused;
        result.error = "more bytes than expected";
    } else if (code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_TOO_MANY_REDIRECTS ||
               code == CURLE_PEER_FAILED_VERIFICATION) {
        result.outcome = FetchOutcome::Refused;
        result.error = curl_easy_strerror(code);
    } else if (code == CURLE_HTTP_RETURNED_ERROR) {
        // A range past the end means the bytes kept so far are not the
        // server's file: they are of no use to a later try either.
        result.outcome = status == 416 ? FetchOutcome::Refused : FetchOutcome::Unreachable;
        result.error = "HTTP status " + std::to_string(status);
    } else if (code != CURLE_OK) {
        result.outcome = FetchOutcome::Unreachable;
        result.error = curl_easy_strerror(code);
    } else if (status == 200) {
        result.outcome = FetchOutcome::Whole;
    } else if (status == 206 && request.from > 0) {
        result.outcome = FetchOutcome::Rest;
    } else if (status == 304) {
        result.outcome = FetchOutcome::NotModified;
    } else {
        result.outcome = FetchOutcome::Refused;
        result.error = "HTTP status " + std::to_string(status);
    }
    return result;
}

}  // namespace ov

namespace ov {

std::string SiteFileUrl(std::string_view base, std::string_view path) {
    std::string url(base);
    static constexpr char kHex[] = "0123456789ABCDEF";
    url += '/';
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

}  // namespace ov
