// Rijndael-256 ECB over 64 MiB: our Encryption (framing included) next to libmcrypt's
// rijndael-256 on the same data, in the same run. Compare the bytes_per_second columns.

#include <benchmark/benchmark.h>

#include <random>

#include "cipher/encryption.h"
#include "cipher/encryption_engine.h"
#include "cipher/mcrypt_oracle.h"

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

void QuistelEncrypt(benchmark::State& state) {
  for (auto _ : state) {
    auto ciphertext = Encryption().EncryptData(Message(), kPassword);
    benchmark::DoNotOptimize(ciphertext->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

void QuistelDecrypt(benchmark::State& state) {
  const Bytes ciphertext = *Encryption().EncryptData(Message(), kPassword);
  for (auto _ : state) {
    auto message = Encryption().DecryptData(ciphertext, kPassword);
    benchmark::DoNotOptimize(message->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

Bytes McryptKey() {
  Bytes key = kPassword;
  key.resize(32, 0);
  return key;
}

// The block engine alone, in place over the same 64 MiB, as libmcrypt runs below.
template <bool kDecrypt>
void QuistelEcb(benchmark::State& state) {
  Bytes data = Message();
  data.resize(kDataBytes, 0);
  Bytes key = kPassword;
  key.resize(32, 0);
  Encryption engine;
  EncryptionEngine::Prepare(engine, 8, 8, key);
  for (auto _ : state) {
    for (std::size_t offset = 0; offset < data.size(); offset += 32) {
      const auto block = std::span(data).subspan(offset, 32);
      if constexpr (kDecrypt) {
        EncryptionEngine::DecryptBlock(engine, block);
      } else {
        EncryptionEngine::EncryptBlock(engine, block);
      }
    }
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

void McryptEncrypt(benchmark::State& state) {
  Bytes data = Message();
  data.resize(kDataBytes, 0);
  McryptRijndael256 cipher(McryptKey());
  for (auto _ : state) {
    cipher.Encrypt(data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

void McryptDecrypt(benchmark::State& state) {
  Bytes data = Message();
  data.resize(kDataBytes, 0);
  McryptRijndael256 cipher(McryptKey());
  for (auto _ : state) {
    cipher.Decrypt(data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

BENCHMARK(QuistelEcb<false>)
    ->Name("QuistelEcbEncrypt")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(QuistelEcb<true>)->Name("QuistelEcbDecrypt")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(QuistelEncrypt)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(McryptEncrypt)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(QuistelDecrypt)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(McryptDecrypt)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace quistel

BENCHMARK_MAIN();
