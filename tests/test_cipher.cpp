// LibCipher through its exported C functions: the published Blowfish vectors, a differential
// check against OpenSSL, and the library's rules for padding, Base64 and bad input.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "cipher/LibCipher.h"
#include "HexBytes.h"

#include <gtest/gtest.h>
#include <openssl/blowfish.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using lodgeview::test::FromHex;
using lodgeview::test::ToHex;

namespace {

using Bytes = std::vector<unsigned char>;

void SetKey(const Bytes& key) { ASSERT_EQ(Init(key.data(), static_cast<int>(key.size())), 0); }

void SetKey(const std::string& key)
{
    ASSERT_EQ(Init(reinterpret_cast<const unsigned char*>(key.data()), static_cast<int>(key.size())), 0);
}

Bytes EncryptBytes(const Bytes& in)
{
    Bytes out(in.size() + 16, 0xEE);
    const int n = Encrypt(in.data(), static_cast<int>(in.size()), out.data());
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return out;
}

std::string Base64EncryptText(const Bytes& in)
{
    std::vector<char> out(2048, '\x7F');
    const int n = Base64Encrypt(in.data(), static_cast<int>(in.size()), out.data());
    EXPECT_EQ(out[static_cast<std::size_t>(n)], '\0');
    return std::string(out.data(), static_cast<std::size_t>(n));
}

// Deciphers into a buffer pre-filled with a marker so that "untouched" can be told apart.
Bytes Base64DecryptBytes(const std::string& text, std::size_t expect = 64)
{
    Bytes out(expect, 0xEE);
    EXPECT_EQ(Base64Decrypt(text.c_str(), static_cast<int>(text.size()), out.data()), 1);
    return out;
}

Bytes Untouched(std::size_t n = 64) { return Bytes(n, 0xEE); }

struct Vector {
    const char* key;
    const char* clear;
    const char* cipher;
};

// Eric Young's variable-key ECB test set, as published with the algorithm.
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

TEST(Blowfish, PublishedEcbVectors)
{
    for (const Vector& v : kEcbVectors) {
        SCOPED_TRACE(v.key);
        SetKey(FromHex(v.key));
        const Bytes clear = FromHex(v.clear), cipher = FromHex(v.cipher);
        Bytes out(8);
        ASSERT_EQ(Encrypt(clear.data(), 8, out.data()), 8);
        EXPECT_EQ(ToHex(out.data(), 8), v.cipher);
        ASSERT_EQ(Decrypt(cipher.data(), 8, out.data()), 8);
        EXPECT_EQ(ToHex(out.data(), 8), v.clear);
    }
}

// The published set-key test: one clear block under every prefix (1..24 bytes) of one key.
TEST(Blowfish, PublishedVariableKeyLengthVectors)
{
    const Bytes key = FromHex("F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677");
    const Bytes clear = FromHex("FEDCBA9876543210");
    const char* expected[] = {
        "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
        "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
        "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
        "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
        "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080"};
    for (int len = 1; len <= 24; ++len) {
        ASSERT_EQ(Init(key.data(), len), 0);
        Bytes out(8);
        Encrypt(clear.data(), 8, out.data());
        EXPECT_EQ(ToHex(out.data(), 8), expected[len - 1]) << "key length " << len;
    }
}

// Random keys (including ones past the 56-byte limit) and random inputs of every padding
// class, compared with OpenSSL's independent Blowfish on the zero-padded input.
TEST(Blowfish, MatchesOpenSslOnRandomKeysAndInputs)
{
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        Bytes key(static_cast<std::size_t>(1 + rng() % 70));
        for (auto& b : key)
            b = static_cast<unsigned char>(byte(rng));
        Bytes in(round < 20 ? static_cast<std::size_t>(round) : static_cast<std::size_t>(rng() % 1025));
        for (auto& b : in)
            b = static_cast<unsigned char>(byte(rng));

        BF_KEY reference;
        BF_set_key(&reference, static_cast<int>(std::min<std::size_t>(key.size(), 56)), key.data());
        Bytes padded = in;
        padded.resize(in.empty() ? 8 : (in.size() + 7) / 8 * 8, 0);
        Bytes expected(padded.size());
        for (std::size_t i = 0; i < padded.size(); i += 8)
            BF_ecb_encrypt(&padded[i], &expected[i], &reference, BF_ENCRYPT);

        SetKey(key);
        const Bytes cipher = EncryptBytes(in);
        ASSERT_EQ(cipher, expected) << "key length " << key.size() << ", input length " << in.size();
        Bytes back(cipher.size());
        ASSERT_EQ(Decrypt(cipher.data(), static_cast<int>(cipher.size()), back.data()), int(cipher.size()));
        ASSERT_EQ(back, padded);
    }
}

TEST(LibCipher, InitRulesForKeyLength)
{
    const Bytes block = FromHex("0123456789ABCDEF");
    SetKey(std::string("first key"));
    const Bytes underFirst = EncryptBytes(block);

    EXPECT_NE(Init(reinterpret_cast<const unsigned char*>("second"), 0), 0);
    EXPECT_NE(Init(reinterpret_cast<const unsigned char*>("second"), -3), 0);
    EXPECT_EQ(EncryptBytes(block), underFirst) << "a refused Init must keep the key set before";

    Bytes longKey(80);
    for (std::size_t i = 0; i < longKey.size(); ++i)
        longKey[i] = static_cast<unsigned char>(i * 7 + 1);
    SetKey(longKey);
    const Bytes underLong = EncryptBytes(block);
    SetKey(Bytes(longKey.begin(), longKey.begin() + 56));
    EXPECT_EQ(EncryptBytes(block), underLong) << "bytes past 56 must not matter";
}

TEST(LibCipher, EncryptPadsToBlockLength)
{
    SetKey(std::string("k"));
    const struct {
        std::size_t len;
        int blockLen;
    } cases[] = {{0, 8}, {1, 8}, {5, 8}, {8, 8}, {9, 16}, {760, 760}, {1023, 1024}, {1024, 1024}};
    for (const auto& c : cases) {
        Bytes in(c.len, 'a');
        const Bytes cipher = EncryptBytes(in);
        EXPECT_EQ(int(cipher.size()), c.blockLen) << c.len;
        in.resize(static_cast<std::size_t>(c.blockLen), 0);
        EXPECT_EQ(EncryptBytes(in), cipher) << "padding of " << c.len << " bytes must be zero bytes";
    }
}

TEST(LibCipher, OversizedOrNegativeInputIsRefusedWithoutWriting)
{
    SetKey(std::string("k"));
    const Bytes in(1025, 'x');
    for (int len : {1025, 4096, -1}) {
        Bytes out(8, 0xEE);
        EXPECT_EQ(Encrypt(in.data(), len, out.data()), 0) << len;
        EXPECT_EQ(out, Bytes(8, 0xEE));
        std::vector<char> text(8, '\x7F');
        EXPECT_EQ(Base64Encrypt(in.data(), len, text.data()), 0) << len;
        EXPECT_EQ(text, std::vector<char>(8, '\x7F'));
    }
}

TEST(LibCipher, DecryptOnlyWholeBlocks)
{
    SetKey(std::string("k"));
    const Bytes in(24, 0x11);
    for (int len : {0, 7, 12, 23}) {
        Bytes out(24, 0xEE);
        EXPECT_EQ(Decrypt(in.data(), len, out.data()), len);
        EXPECT_EQ(out, Bytes(24, 0xEE)) << len;
    }
}

TEST(LibCipher, Base64EncryptLengthsAndPadding)
{
    SetKey(std::string("k"));
    const std::string empty = Base64EncryptText({});
    EXPECT_EQ(empty.size(), 12u);
    EXPECT_EQ(empty.find('='), 11u) << "one block of zero bytes: eleven characters and one pad";

    char fromNull[16] = {};
    EXPECT_EQ(Base64Encrypt(nullptr, 0, fromNull), 12) << "a C caller may pass no buffer for no bytes";
    EXPECT_EQ(std::string(fromNull), empty);

    const Bytes five = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(Base64EncryptText(five), Base64EncryptText({'h', 'e', 'l', 'l', 'o', 0, 0, 0}));
    EXPECT_EQ(Base64EncryptText(five).size(), 12u);

    EXPECT_EQ(Base64EncryptText(Bytes(16, 'q')).size(), 24u);               // 16 bytes: "=" once
    EXPECT_EQ(Base64EncryptText(Bytes(24, 'q')).size(), 32u);               // 24 bytes: no pad
    EXPECT_EQ(Base64EncryptText(Bytes(760, 'q')).size(), 1016u);
    EXPECT_EQ(Base64EncryptText(Bytes(1024, 'q')).size(), 1368u);
}

TEST(LibCipher, Base64RoundTripKeepsPaddingZeros)
{
    SetKey(std::string("7d2a91f0c5e84b6fa03d5c19e8b24f70"));
    const Bytes in = {'T', 'P', '_', 'V', 'I', 'E', 'W', '^', '2', '0'};
    const Bytes out = Base64DecryptBytes(Base64EncryptText(in));
    Bytes expected = in;
    expected.resize(16, 0);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 16), expected);
    EXPECT_EQ(out[16], 0xEE) << "nothing past the deciphered length is written";
}

// A ciphertext whose Base64 form carries "+": found by trying inputs, so the case does not
// depend on one lucky constant.
std::string CodedTextWithPlus(Bytes& clear)
{
    SetKey(std::string("plus"));
    for (unsigned char first = 0;; ++first) {
        clear = {first, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o'};
        const std::string coded = Base64EncryptText(clear);
        if (coded.find('+') != std::string::npos)
            return coded;
    }
}

TEST(LibCipher, Base64DecryptToleratesBlanksAndForeignCharacters)
{
    Bytes clear;
    const std::string coded = CodedTextWithPlus(clear);
    std::string blanks = coded;
    std::replace(blanks.begin(), blanks.end(), '+', ' ');
    std::string broken = coded;
    broken.insert(4, "\r\n");
    broken.insert(10, "%*");
    for (const std::string& text : {coded, blanks, broken}) {
        const Bytes out = Base64DecryptBytes(text);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + 16), clear) << text;
    }
}

TEST(LibCipher, Base64DecryptLeavesOutputUntouchedWhenInvalid)
{
    SetKey(std::string("k"));
    const std::string whole = Base64EncryptText(Bytes(24, 'z')); // 32 characters, 24 bytes
    ASSERT_EQ(whole.size(), 32u);
    const Bytes deciphered = Base64DecryptBytes(whole);
    ASSERT_EQ(Bytes(deciphered.begin(), deciphered.begin() + 24), Bytes(24, 'z'));

    // A stray last character without pad yields no whole byte and is harmless; the same
    // character, or none, followed by the pad makes the text invalid.
    EXPECT_EQ(Base64DecryptBytes(whole + "A"), deciphered);
    EXPECT_EQ(Base64DecryptBytes(whole + "A="), Untouched());
    EXPECT_EQ(Base64DecryptBytes(whole + "="), Untouched());
    // Decoded length not a multiple of the block length.
    EXPECT_EQ(Base64DecryptBytes(whole.substr(0, 28)), Untouched());
    EXPECT_EQ(Base64DecryptBytes(""), Untouched());
}

TEST(LibCipher, Base64DecryptStopsAtTheGivenLength)
{
    SetKey(std::string("k"));
    const std::string coded = Base64EncryptText(Bytes(8, 'y')) + "garbage that must not be read";
    Bytes out(16, 0xEE);
    Base64Decrypt(coded.c_str(), 12, out.data());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), Bytes(8, 'y'));
}

} // namespace
