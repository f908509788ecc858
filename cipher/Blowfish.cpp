#include "cipher/Blowfish.h"

#include <cstring>

namespace lodgeview {
namespace {
#include "cipher/BlowfishTables.inc"

std::uint32_t LoadBigEndian(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void StoreBigEndian(std::uint32_t v, std::uint8_t* p)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}
} // namespace

void Blowfish::SetKey(const std::uint8_t* key, std::size_t keyLen)
{
    if (keyLen > kMaxKeyBytes)
        keyLen = kMaxKeyBytes;
    std::memcpy(p_, kInitialP, sizeof p_);
    std::memcpy(s_[0], kInitialS0, sizeof s_[0]);
    std::memcpy(s_[1], kInitialS1, sizeof s_[1]);
    std::memcpy(s_[2], kInitialS2, sizeof s_[2]);
    std::memcpy(s_[3], kInitialS3, sizeof s_[3]);

    std::size_t k = 0;
    for (std::uint32_t& entry : p_) {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = word << 8 | key[k];
            k = (k + 1) % keyLen;
        }
        entry ^= word;
    }

    std::uint32_t left = 0, right = 0;
    for (std::size_t i = 0; i < 18; i += 2) {
        EncryptBlock(left, right);
        p_[i] = left;
        p_[i + 1] = right;
    }
    for (auto& box : s_) {
        for (std::size_t i = 0; i < 256; i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

// Both directions are written out round by round: the halves stay in registers and the
// compiler schedules the table loads of neighbouring rounds together.
void Blowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const
{
    std::uint32_t l = left ^ p_[0], r = right;
    r ^= F(l) ^ p_[1];
    l ^= F(r) ^ p_[2];
    r ^= F(l) ^ p_[3];
    l ^= F(r) ^ p_[4];
    r ^= F(l) ^ p_[5];
    l ^= F(r) ^ p_[6];
    r ^= F(l) ^ p_[7];
    l ^= F(r) ^ p_[8];
    r ^= F(l) ^ p_[9];
    l ^= F(r) ^ p_[10];
    r ^= F(l) ^ p_[11];
    l ^= F(r) ^ p_[12];
    r ^= F(l) ^ p_[13];
    l ^= F(r) ^ p_[14];
    r ^= F(l) ^ p_[15];
    l ^= F(r) ^ p_[16];
    left = r ^ p_[17];
    right = l;
}

void Blowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const
{
    std::uint32_t l = left ^ p_[17], r = right;
    r ^= F(l) ^ p_[16];
    l ^= F(r) ^ p_[15];
    r ^= F(l) ^ p_[14];
    l ^= F(r) ^ p_[13];
    r ^= F(l) ^ p_[12];
    l ^= F(r) ^ p_[11];
    r ^= F(l) ^ p_[10];
    l ^= F(r) ^ p_[9];
    r ^= F(l) ^ p_[8];
    l ^= F(r) ^ p_[7];
    r ^= F(l) ^ p_[6];
    l ^= F(r) ^ p_[5];
    r ^= F(l) ^ p_[4];
    l ^= F(r) ^ p_[3];
    r ^= F(l) ^ p_[2];
    l ^= F(r) ^ p_[1];
    left = r ^ p_[0];
    right = l;
}

void Blowfish::EncryptEcb(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const
{
    for (std::size_t b = 0; b < blocks; ++b, in += kBlockSize, out += kBlockSize) {
        std::uint32_t l = LoadBigEndian(in), r = LoadBigEndian(in + 4);
        EncryptBlock(l, r);
        StoreBigEndian(l, out);
        StoreBigEndian(r, out + 4);
    }
}

void Blowfish::DecryptEcb(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const
{
    for (std::size_t b = 0; b < blocks; ++b, in += kBlockSize, out += kBlockSize) {
        std::uint32_t l = LoadBigEndian(in), r = LoadBigEndian(in + 4);
        DecryptBlock(l, r);
        StoreBigEndian(l, out);
        StoreBigEndian(r, out + 4);
    }
}

} // namespace lodgeview
