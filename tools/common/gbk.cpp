#include "gbk.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace gbk {

#ifdef _WIN32

namespace {

// One character at a time so that the offset of a failing character is known.
Converted convert(std::string_view in, UINT from_cp, UINT to_cp) {
    Converted out;
    std::wstring wide;
    if (!in.empty()) {
        int n = MultiByteToWideChar(from_cp, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), nullptr, 0);
        if (n <= 0) {
            out.error = ConversionError{0};
            return out;
        }
        wide.resize(size_t(n));
        MultiByteToWideChar(from_cp, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), wide.data(), n);
    }
    size_t offset = 0;
    for (size_t i = 0; i < wide.size(); ++i) {
        int units = (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) ? 2 : 1;
        char buf[8];
        BOOL lossy = FALSE;
        BOOL* lossy_ptr = to_cp == CP_UTF8 ? nullptr : &lossy;
        int n = WideCharToMultiByte(to_cp, 0, &wide[i], units, buf, sizeof buf, nullptr, lossy_ptr);
        if (n <= 0 || lossy) {
            out.error = ConversionError{offset};
            return out;
        }
        out.text.append(buf, size_t(n));
        char back[8];
        offset += size_t(WideCharToMultiByte(from_cp, 0, &wide[i], units, back, sizeof back, nullptr, nullptr));
        i += size_t(units - 1);
    }
    return out;
}

}  // namespace

Converted from_utf8(std::string_view utf8) {
    return convert(utf8, CP_UTF8, 936);
}
Converted to_utf8(std::string_view gbk_text) {
    return convert(gbk_text, 936, CP_UTF8);
}

#else

namespace {

Converted convert(std::string_view in, const char* from, const char* to) {
    Converted out;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) {
        out.error = ConversionError{0};
        return out;
    }
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    std::string buffer(in.size() * 2 + 16, '\0');
    char* dst = buffer.data();
    size_t dst_left = buffer.size();
    while (src_left > 0) {
        if (iconv(cd, &src, &src_left, &dst, &dst_left) == size_t(-1)) {
            out.error = ConversionError{size_t(src - in.data())};
            break;
        }
    }
    buffer.resize(buffer.size() - dst_left);
    iconv_close(cd);
    out.text = std::move(buffer);
    return out;
}

}  // namespace

// CP936 rather than GBK: it is what Windows' code page 936 maps, the euro sign included.
Converted from_utf8(std::string_view utf8) {
    return convert(utf8, "UTF-8", "CP936");
}
Converted to_utf8(std::string_view gbk_text) {
    return convert(gbk_text, "CP936", "UTF-8");
}

#endif

}  // namespace gbk
