// The exported C face of the cipher: one process-wide key schedule, as the callers expect.
#include "cipher/LibCipher.h"

#include "cipher/Base64.h"
#include "cipher/Blowfish.h"

#include <cstring>
#include <new>
#include <vector>

#define LIBCIPHER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

lodgeview::Blowfish g_cipher;

bool InputLengthAccepted(int len) { return len >= 0 && len <= LIBCIPHER_MAX_INPUT; }

// Enciphers in[0..len) with zero padding into out; returns the block length.
std::size_t EncryptPadded(const unsigned char* in, std::size_t len, unsigned char* out)
{
    using lodgeview::Blowfish;
    const std::size_t whole = len / Blowfish::kBlockSize;
    g_cipher.EncryptEcb(in, out, whole);
    const std::size_t blockLen = lodgeview::PaddedBlockLength(len);
    if (blockLen > whole * Blowfish::kBlockSize) {
        // The partial last block, or the one block of zero bytes of an empty input (whose
        // pointer may be null).
        unsigned char last[Blowfish::kBlockSize] = {};
        const std::size_t rest = len - whole * Blowfish::kBlockSize;
        if (rest > 0)
            std::memcpy(last, in + whole * Blowfish::kBlockSize, rest);
        g_cipher.EncryptEcb(last, out + whole * Blowfish::kBlockSize, 1);
    }
    return blockLen;
}

} // namespace

LIBCIPHER_EXPORT int Init(const unsigned char* key, int keyLen)
{
    if (keyLen < 1)
        return 1;
    g_cipher.SetKey(key, static_cast<std::size_t>(keyLen));
    return 0;
}

LIBCIPHER_EXPORT int Encrypt(const unsigned char* in, int len, unsigned char* out)
{
    if (!InputLengthAccepted(len))
        return 0;
    return static_cast<int>(EncryptPadded(in, static_cast<std::size_t>(len), out));
}

LIBCIPHER_EXPORT int Decrypt(const unsigned char* in, int len, unsigned char* out)
{
    if (len > 0 && len % lodgeview::Blowfish::kBlockSize == 0)
        g_cipher.DecryptEcb(in, out, static_cast<std::size_t>(len) / lodgeview::Blowfish::kBlockSize);
    return len;
}

LIBCIPHER_EXPORT int Base64Encrypt(const unsigned char* in, int len, char* out)
{
    if (!InputLengthAccepted(len))
        return 0;
    unsigned char block[LIBCIPHER_MAX_INPUT];
    const std::size_t blockLen = EncryptPadded(in, static_cast<std::size_t>(len), block);
    const std::size_t chars = lodgeview::Base64Encode(block, blockLen, out);
    out[chars] = '\0';
    return static_cast<int>(chars);
}

LIBCIPHER_EXPORT unsigned char Base64Decrypt(const char* in, int len, unsigned char* out)
{
    if (len < 0)
        return 1;
    // Decoded into scratch space so that an invalid text leaves out untouched.
    std::vector<unsigned char> scratch;
    try {
        scratch.resize(static_cast<std::size_t>(len) + 1);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    const auto decoded = lodgeview::Base64DecodeTolerant(in, static_cast<std::size_t>(len), scratch.data());
    if (decoded)
        Decrypt(scratch.data(), static_cast<int>(*decoded), out);
    return 1;
}
