#pragma once
// Blowfish block cipher (16 rounds, pi-derived initial tables), electronic-codebook mode.
// A block is two 32-bit halves, left first, each big-endian: the byte order of the
// published test vectors.
#include <cstddef>
#include <cstdint>

namespace lodgeview {

class Blowfish {
public:
    static constexpr std::size_t kBlockSize = 8;
    static constexpr std::size_t kMaxKeyBytes = 56;

    // Key bytes beyond kMaxKeyBytes are ignored; keyLen must be at least 1.
    void SetKey(const std::uint8_t* key, std::size_t keyLen);

    // `blocks` whole blocks from in to out; in and out may be the same buffer.
    void EncryptEcb(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void DecryptEcb(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

private:
    std::uint32_t F(std::uint32_t x) const
    {
        return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
    }

    std::uint32_t p_[18] = {};
    std::uint32_t s_[4][256] = {};
};

// Smallest multiple of the block size not below len, and one block for len 0.
constexpr std::size_t PaddedBlockLength(std::size_t len)
{
    return len == 0 ? Blowfish::kBlockSize : (len + Blowfish::kBlockSize - 1) / Blowfish::kBlockSize * Blowfish::kBlockSize;
}

} // namespace lodgeview
