#include "cipher/WholeTextCipher.h"

#include "cipher/Base64.h"
#include "cipher/Blowfish.h"

#include <cstring>
#include <vector>

namespace lodgeview {
namespace {

Blowfish KeySchedule(const std::string& key)
{
    Blowfish cipher;
    cipher.SetKey(reinterpret_cast<const std::uint8_t*>(key.data()), key.size());
    return cipher;
}

} // namespace

std::string EncipherWholeText(const std::string& key, const std::string& plain)
{
    std::vector<std::uint8_t> blocks(PaddedBlockLength(plain.size()), 0);
    std::memcpy(blocks.data(), plain.data(), plain.size());
    KeySchedule(key).EncryptEcb(blocks.data(), blocks.data(), blocks.size() / Blowfish::kBlockSize);
    std::string coded(Base64EncodedLength(blocks.size()), '\0');
    Base64Encode(blocks.data(), blocks.size(), coded.data());
    return coded;
}

std::string DecipherWholeText(const std::string& key, const std::string& coded)
{
    std::vector<std::uint8_t> bytes(coded.size() * 3 / 4 + 1);
    const auto decoded = Base64DecodeTolerant(coded.c_str(), coded.size(), bytes.data());
    if (!decoded || *decoded == 0 || *decoded % Blowfish::kBlockSize != 0)
        return "";
    KeySchedule(key).DecryptEcb(bytes.data(), bytes.data(), *decoded / Blowfish::kBlockSize);
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    return std::string(text, strnlen(text, *decoded));
}

} // namespace lodgeview
