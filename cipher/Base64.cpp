#include "cipher/Base64.h"

#include <array>

namespace lodgeview {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::int8_t kSkip = -1;

constexpr std::array<std::int8_t, 256> MakeReverseTable()
{
    std::array<std::int8_t, 256> table{};
    for (auto& v : table)
        v = kSkip;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    table[' '] = 62; // blank stands for "+"
    return table;
}

constexpr std::array<std::int8_t, 256> kReverse = MakeReverseTable();

} // namespace

std::size_t Base64Encode(const std::uint8_t* in, std::size_t len, char* out)
{
    char* o = out;
    std::size_t i = 0;
    for (; i + 3 <= len; i += 3) {
        const std::uint32_t v = std::uint32_t(in[i]) << 16 | std::uint32_t(in[i + 1]) << 8 | in[i + 2];
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = kAlphabet[v & 63];
    }
    if (i < len) {
        const bool two = i + 2 == len;
        const std::uint32_t v = std::uint32_t(in[i]) << 16 | (two ? std::uint32_t(in[i + 1]) << 8 : 0);
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = two ? kAlphabet[(v >> 6) & 63] : '=';
        *o++ = '=';
    }
    return static_cast<std::size_t>(o - out);
}

std::optional<std::size_t> Base64DecodeTolerant(const char* text, std::size_t maxChars, std::uint8_t* out)
{
    std::uint32_t acc = 0;
    std::size_t inGroup = 0, written = 0;
    bool padded = false;
    for (std::size_t i = 0; i < maxChars; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0)
            break;
        if (c == '=') {
            padded = true;
            break;
        }
        const std::int8_t v = kReverse[c];
        if (v == kSkip)
            continue;
        acc = acc << 6 | std::uint32_t(v);
        if (++inGroup == 4) {
            out[written++] = std::uint8_t(acc >> 16);
            out[written++] = std::uint8_t(acc >> 8);
            out[written++] = std::uint8_t(acc);
            acc = 0;
            inGroup = 0;
        }
    }
    if (padded && inGroup <= 1)
        return std::nullopt;
    if (inGroup >= 2)
        out[written++] = std::uint8_t(acc >> (6 * inGroup - 8));
    if (inGroup == 3)
        out[written++] = std::uint8_t(acc >> 2);
    return written;
}

} // namespace lodgeview
