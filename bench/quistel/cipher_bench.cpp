// Rijndael-256 over 64 MiB, our engines next to libmcrypt's rijndael-256 in the same run:
//   *Ecb*: whole blocks in place, as the framing runs them (Tables, AesInstructions, Mcrypt);
//   *Data*: whole operations with the framing and a fresh 64 MiB result: EncryptData and
//   DecryptData on each engine next to the same framing done around libmcrypt (Mcrypt);
//   FreshResult: what a new 64 MiB array costs when it is zero-filled first.
// Compare the bytes_per_second columns. On a shared machine, pin to one core and interleave
// the repetitions so that a slow spell hits every side:
//   taskset -c 1 quistel_cipher_bench --benchmark_repetitions=8
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
// (--benchmark_filter=Ecb for the block engines alone).

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

// False, with the benchmark marked skipped, where this processor cannot run the engine.
bool Usable(benchmark::State& state, CipherEngine engine) {
  if (EncryptionEngine::CanUse(engine)) return true;
  state.SkipWithError("engine not usable on this processor");
  return false;
}

void CountBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
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
  CountBytes(state);
}

template <CipherEngine kEngine, bool kDecrypt>
void QuistelEcb(benchmark::State& state) {
  if (!Usable(state, kEngine)) return;
  Encryption engine;
  EncryptionEngine::Use(engine, kEngine);
  EncryptionEngine::Prepare(engine, 8, 8, Key());
  InPlace(state, [&](std::span<std::uint8_t> data) {
    if constexpr (kDecrypt) {
      EncryptionEngine::DecryptBlocks(engine, data);
    } else {
      EncryptionEngine::EncryptBlocks(engine, data);
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

template <CipherEngine kEngine>
void EncryptData(benchmark::State& state) {
  if (!Usable(state, kEngine)) return;
  for (auto _ : state) {
    Encryption encryption;
    EncryptionEngine::Use(encryption, kEngine);
    auto ciphertext = encryption.EncryptData(Message(), kPassword);
    benchmark::DoNotOptimize(ciphertext->data());
  }
  CountBytes(state);
}

template <CipherEngine kEngine>
void DecryptData(benchmark::State& state) {
  if (!Usable(state, kEngine)) return;
  const Bytes ciphertext = *Encryption().EncryptData(Message(), kPassword);
  for (auto _ : state) {
    Encryption encryption;
    EncryptionEngine::Use(encryption, kEngine);
    auto message = encryption.DecryptData(ciphertext, kPassword);
    benchmark::DoNotOptimize(message->data());
  }
  CountBytes(state);
}

void McryptEncryptData(benchmark::State& state) {
  for (auto _ : state) {
    auto ciphertext = OracleEncryptMessage(Message(), kPassword);
    benchmark::DoNotOptimize(ciphertext.data());
  }
  CountBytes(state);
}

void McryptDecryptData(benchmark::State& state) {
  const Bytes ciphertext = OracleEncryptMessage(Message(), kPassword);
  for (auto _ : state) {
    auto message = OracleDecryptMessage(ciphertext, kPassword);
    benchmark::DoNotOptimize(message->data());
  }
  CountBytes(state);
}

void FreshResult(benchmark::State& state) {
  for (auto _ : state) {
    Bytes result(kDataBytes);
    benchmark::DoNotOptimize(result.data());
  }
  CountBytes(state);
}

void Setup(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

constexpr auto kTables = CipherEngine::kTable;
constexpr auto kAes = CipherEngine::kAesInstructions;

BENCHMARK(QuistelEcb<kTables, false>)->Name("EcbEncrypt/Tables")->Apply(Setup);
BENCHMARK(QuistelEcb<kAes, false>)->Name("EcbEncrypt/AesInstructions")->Apply(Setup);
BENCHMARK(McryptEcb<false>)->Name("EcbEncrypt/Mcrypt")->Apply(Setup);
BENCHMARK(QuistelEcb<kTables, true>)->Name("EcbDecrypt/Tables")->Apply(Setup);
BENCHMARK(QuistelEcb<kAes, true>)->Name("EcbDecrypt/AesInstructions")->Apply(Setup);
BENCHMARK(McryptEcb<true>)->Name("EcbDecrypt/Mcrypt")->Apply(Setup);
BENCHMARK(EncryptData<kTables>)->Name("EncryptData/Tables")->Apply(Setup);
BENCHMARK(EncryptData<kAes>)->Name("EncryptData/AesInstructions")->Apply(Setup);
BENCHMARK(McryptEncryptData)->Name("EncryptData/Mcrypt")->Apply(Setup);
BENCHMARK(DecryptData<kTables>)->Name("DecryptData/Tables")->Apply(Setup);
BENCHMARK(DecryptData<kAes>)->Name("DecryptData/AesInstructions")->Apply(Setup);
BENCHMARK(McryptDecryptData)->Name("DecryptData/Mcrypt")->Apply(Setup);
BENCHMARK(FreshResult)->Apply(Setup);

}  // namespace
}  // namespace quistel

BENCHMARK_MAIN();
