// Throughput of LibCipher's Blowfish ECB beside OpenSSL's on the same 1024-byte input, and the
// cost of enciphering and deciphering a typical play-status record.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "cipher/LibCipher.h"
#include "player/service/ServiceExchange.h"

#include <benchmark/benchmark.h>
#include <openssl/blowfish.h>

#include <vector>

namespace {

constexpr int kInput = LIBCIPHER_MAX_INPUT;
const unsigned char kKey[] = "7d2a91f0c5e84b6fa03d5c19e8b24f70";

void LibCipherEcb(benchmark::State& state)
{
    Init(kKey, 32);
    std::vector<unsigned char> in(kInput, 0x5A), out(kInput);
    for (auto _ : state) {
        Encrypt(in.data(), kInput, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kInput);
}
BENCHMARK(LibCipherEcb);

void OpenSslEcb(benchmark::State& state)
{
    BF_KEY key;
    BF_set_key(&key, 32, kKey);
    std::vector<unsigned char> in(kInput, 0x5A), out(kInput);
    for (auto _ : state) {
        for (int i = 0; i < kInput; i += 8)
            BF_ecb_encrypt(&in[static_cast<std::size_t>(i)], &out[static_cast<std::size_t>(i)], &key, BF_ENCRYPT);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kInput);
}
BENCHMARK(OpenSslEcb);

// The play-status report, the longest record the player sends.
const std::string kStatusRecord = lodgeview::PlayRecord({
    {"TP_VIEW", "20"}, {"NO_ROOM", "100"}, {"ID_MOVIE", "M000123456"}, {"ID_SERIESE", "0"},
    {"DT_PLAY_START", "20261211093000"}, {"DT_PLAY_END", "20261211110512"}, {"ST_PLAY", "20"},
    {"TM_POSITION", "5712000"}, {"ID_EQUIP", "1"}, {"ID_MAC", "52:54:00:12:34:5F"}, {"NO_HDD_SERIAL", "1A2B3C4D"},
});

void EncipherStatusRecord(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lodgeview::EncipherText(lodgeview::kRequestKey, kStatusRecord));
}
BENCHMARK(EncipherStatusRecord)->Unit(benchmark::kMicrosecond);

void DecipherStatusRecord(benchmark::State& state)
{
    const std::string coded = lodgeview::EncipherText(lodgeview::kReplyKey, kStatusRecord);
    for (auto _ : state)
        benchmark::DoNotOptimize(lodgeview::DecipherText(lodgeview::kReplyKey, coded));
}
BENCHMARK(DecipherStatusRecord)->Unit(benchmark::kMicrosecond);

} // namespace
