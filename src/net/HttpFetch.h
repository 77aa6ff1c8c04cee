#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ov {

// What the server last said about a file, sent back to ask whether it changed.
struct Validators {
    std::string etag;
    std::string lastModified;
};

struct FetchRequest {
    std::string url;
    // Sent as If-None-Match / If-Modified-Since when not empty.
    Validators known;
    // Asks for the bytes from here on (a Range request); the answer says
    // whether the server sent them or the whole file.
    std::uint64_t from = 0;
    // More body bytes than this and the transfer is dropped.
    std::uint64_t limit = 0;
    // Called before the first body byte with whether the server sends the
    // whole file (a server may answer a Range request so).
    std::function<void(bool whole)> started;
    // Called as bytes arrive with the count so far; false cancels.
    std::function<bool(std::uint64_t received)> progress;
};

enum class FetchOutcome {
    Whole,        // 200: the body is the whole file
    Rest,         // 206: the body continues the file at `from`
    NotModified,  // 304: what the validators name is still current
    Unreachable,  // no answer, a broken transfer, an error status
    Refused,      // an answer the player does not take: a redirect to another
                  // scheme, a certificate the system does not trust, more
                  // bytes than the limit, an unexpected status
    Cancelled,
};

struct FetchResult {
    FetchOutcome outcome = FetchOutcome::Unreachable;
    Validators validators;
    // Body bytes received, also when the transfer broke off.
    std::uint64_t received = 0;
    std::string error;
};

// One GET. Error statuses bring no body. Redirects are followed only to the scheme of `url`; an https
// server's certificate is checked against the system's CAs. `body` gets the
// bytes in order and returns false to stop. Safe to call on several threads.
FetchResult HttpFetch(const FetchRequest& request, const std::function<bool(std::string_view)>& body);

// "http" or "https" for a URL of those schemes, else empty.
std::string_view UrlScheme(std::string_view url);

}  // namespace ov

namespace ov {

// The URL of the file `path` (below the site's root) of the site at `base`,
// each path component percent-encoded.
std::string SiteFileUrl(std::string_view base, std::string_view path);

}  // namespace ov
