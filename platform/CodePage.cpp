#include "platform/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace lodgeview {
namespace {

std::string Convert(const std::string& text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw CodePageError(std::string("no conversion from ") + from + " to " + to);
    std::string out(text.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG) {
            const std::size_t used = static_cast<std::size_t>(o - out.data());
            out.resize(out.size() * 2);
            o = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        const std::size_t at = text.size() - inLeft;
        iconv_close(cd);
        throw CodePageError(std::string("text is not convertible from ") + from + " to " + to +
                            " at byte " + std::to_string(at));
    }
    iconv_close(cd);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

} // namespace

std::string Utf8ToCp949(const std::string& utf8) { return Convert(utf8, "CP949", "UTF-8"); }

std::string Cp949ToUtf8(const std::string& cp949) { return Convert(cp949, "UTF-8", "CP949"); }

bool IsValidUtf8(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t extra;
        unsigned int cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (cc & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace lodgeview
