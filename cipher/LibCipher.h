#pragma once
/* LibCipher: Blowfish (ECB) and Base64 for the enciphered service exchange.
 *
 * One key schedule per process: Init sets it, the other four calls use the key most
 * recently set. The library takes no lock; callers serialise Init and the calls that rely
 * on it. All lengths are byte counts; inputs to Encrypt and Base64Encrypt are limited to
 * LIBCIPHER_MAX_INPUT bytes. */
#ifdef __cplusplus
extern "C" {
#endif

#define LIBCIPHER_MAX_INPUT 1024

/* 0 when a key schedule was computed; non-zero when keyLen < 1 (the previous key stays).
 * Keys longer than 56 bytes behave like their first 56 bytes. */
int Init(const unsigned char* key, int keyLen);

/* Enciphers len bytes (0..1024) padded with zero bytes to the block length (the smallest
 * multiple of 8 not below len, 8 for len 0) into out, which holds at least that many bytes.
 * Returns the block length; 0, with nothing written, when len is outside 0..1024. */
int Encrypt(const unsigned char* in, int len, unsigned char* out);

/* Deciphers len bytes into out when len is a positive multiple of 8; otherwise leaves out
 * untouched. Returns len. Zero bytes of the padding stay in the output. */
int Decrypt(const unsigned char* in, int len, unsigned char* out);

/* Encrypt, then Base64 of the whole block length: writes 4 * ceil(block length / 3)
 * characters and a terminating zero byte to out and returns the character count; 0, with
 * nothing written, when len is outside 0..1024. */
int Base64Encrypt(const unsigned char* in, int len, char* out);

/* Decodes the zero-terminated Base64 text in (len characters; a blank counts as "+",
 * characters outside the alphabet are skipped) and deciphers the result into out, which
 * holds at least len * 3 / 4 bytes. out stays untouched when the pad "=" ends the text after
 * 0 or 1 characters of a group, or the decoded length is not a positive multiple of 8.
 * Always returns 1: callers detect failure by finding their zeroed buffer still empty. */
unsigned char Base64Decrypt(const char* in, int len, unsigned char* out);

#ifdef __cplusplus
}
#endif
