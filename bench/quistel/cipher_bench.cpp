// Rijndael-256 ECB over 64 MiB: our block engine next to libmcrypt's rijndael-256, in place on
// the same data in the same run; then EncryptData and DecryptData, which add the framing and a
// fresh 64 MiB result. Compare the bytes_per_second columns. On a shared machine, interleave
// the repetitions so that a slow spell hits both sides:
//   taskset -c 1 quistel_cipher_bench --benchmark_filter=Ecb --benchmark_repetitions=8
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <random>

#include "cipher/encryption.h"
#include "cipher/encryption_engine.h"
#include "testing/mcrypt_oracle.h"

namespace quistel {
namespace {

constexpr std::size_t kDataBytes = 64 << 20;
constexpr std::size_t kMessageBytes = kDataBytes - 4;  // framed to exactly 64 MiB

const Bytes& Message() {
  static const Bytes message = [] {
    std::mt19937 random(1);
    Bytes bytes(kMessageBytes);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
  }();
  return message;
}

const Bytes kPassword = {'b', 'e', 'n', 'c', 'h', ' ', 'k', 'e', 'y'};

Bytes Key() {
  Bytes key = kPassword;
  key.resize(32, 0);
  return key;
}

// 64 MiB of whole blocks, each enciphered (or deciphered) in place per iteration.
template <typename Cipher>
void InPlace(benchmark::State& state, Cipher cipher) {
  Bytes data = Message();
  data.resize(kDataBytes, 0);
  for (auto _ : state) {
    cipher(std::span(data));
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

template <bool kDecrypt>
void QuistelEcb(benchmark::State& state) {
  Encryption engine;
  EncryptionEngine::Prepare(engine, 8, 8, Key());
  InPlace(state, [&](std::span<std::uint8_t> data) {
    for (std::size_t offset = 0; offset < data.size(); offset += 32) {
      if constexpr (kDecrypt) {
        EncryptionEngine::DecryptBlock(engine, data.subspan(offset, 32));
      } else {
        EncryptionEngine::EncryptBlock(engine, data.subspan(offset, 32));
      }
    }
  });
}

template <bool kDecrypt>
void McryptEcb(benchmark::State& state) {
  McryptRijndael256 cipher(Key());
  InPlace(state, [&](std::span<std::uint8_t> data) {
    if constexpr (kDecrypt) {
      cipher.Decrypt(data);
    } else {
      cipher.Encrypt(data);
    }
  });
}

void EncryptData(benchmark::State& state) {
  for (auto _ : state) {
    auto ciphertext = Encryption().EncryptData(Message(), kPassword);
    benchmark::DoNotOptimize(ciphertext->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

void DecryptData(benchmark::State& state) {
  const Bytes ciphertext = *Encryption().EncryptData(Message(), kPassword);
  for (auto _ : state) {
    auto message = Encryption().DecryptData(ciphertext, kPassword);
    benchmark::DoNotOptimize(message->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

// What EncryptData and DecryptData pay for their result alone: a new 64 MiB array, zeroed.
void FreshResult(benchmark::State& state) {
  for (auto _ : state) {
    Bytes result(kDataBytes);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

void Setup(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->MinTime(2.0);
}

BENCHMARK(QuistelEcb<false>)->Name("QuistelEcbEncrypt")->Apply(Setup);
BENCHMARK(McryptEcb<false>)->Name("McryptEcbEncrypt")->Apply(Setup);
BENCHMARK(QuistelEcb<true>)->Name("QuistelEcbDecrypt")->Apply(Setup);
BENCHMARK(McryptEcb<true>)->Name("McryptEcbDecrypt")->Apply(Setup);
BENCHMARK(EncryptData)->Apply(Setup);
BENCHMARK(DecryptData)->Apply(Setup);
BENCHMARK(FreshResult)->Apply(Setup);

}  // namespace
}  // namespace quistel

BENCHMARK_MAIN();
