#include "core/GbkText.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace ov {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; on an invalid or incomplete sequence calls
    // onInvalid, which either appends a replacement and returns how many input
    // bytes to skip, or returns 0 to give up.
    template <typename OnInvalid>
    bool Convert(std::string_view input, std::string& out, OnInvalid onInvalid) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        auto* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t rc = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            size_t skip = onInvalid(out);
            if (skip == 0) return false;
            skip = std::min(skip, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return true;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GB18030");
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    converter.Convert(gbk, out, [](std::string& o) {
        o += "\xEF\xBF\xBD";
        return size_t{1};
    });
    return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    if (!converter.Convert(utf8, out, [](std::string&) { return size_t{0}; })) return std::nullopt;
    return out;
}

}  // namespace ov
