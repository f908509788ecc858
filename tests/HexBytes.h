#pragma once
// Test helper: bytes from and to hexadecimal text.
#include <cstdint>
#include <string>
#include <vector>

namespace lodgeview::test {

inline std::vector<std::uint8_t> FromHex(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline std::string ToHex(const std::uint8_t* bytes, std::size_t n)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 0; i < n; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

} // namespace lodgeview::test
