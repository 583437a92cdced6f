// Rijndael-256 over 64 MiB, our engines next to libmcrypt's rijndael-256 in the same run:
//   *Ecb*: whole blocks in place, as the framing runs them (Tables, AesInstructions, Mcrypt);
//   *Message*: whole operations with the framing and a fresh 64 MiB result: encryptMessage and
//   decryptMessage on each engine next to the same framing done around libmcrypt (Mcrypt);
//   FreshResult: what a new 64 MiB array costs when it is zero-filled first.
// Compare the bytes_per_second columns. On a shared machine, pin to one core and interleave
// the repetitions so that a slow spell hits every side:
//   taskset -c 1 quistel_cipher_bench --benchmark_repetitions=8
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
// (--benchmark_filter=Ecb for the block engines alone).

#include <benchmark/benchmark.h>

#include <random>

#include "cipher/message_framing.h"
#include "testing/mcrypt_oracle.h"

namespace quistel {
namespace {

constexpr std::size_t kDataBytes = 64 << 20;
constexpr std::size_t kMessageBytes = kDataBytes - 4;  // framed to exactly 64 MiB

const Bytes& message() {
  static const Bytes message = [] {
    std::mt19937 random(1);
    Bytes bytes(kMessageBytes);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
  }();
  return message;
}

const Bytes kPassword = {'b', 'e', 'n', 'c', 'h', ' ', 'k', 'e', 'y'};

Bytes key() {
  Bytes key = kPassword;
  key.resize(32, 0);
  return key;
}

// False, with the benchmark marked skipped, where this processor cannot run the engine.
bool usable(benchmark::State& state, CipherEngine engine) {
  if (Rijndael::canUse(engine)) return true;
  state.SkipWithError("engine not usable on this processor");
  return false;
}

void countBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataBytes));
}

// 64 MiB of whole blocks, each enciphered (or deciphered) in place per iteration.
template <typename Cipher>
void inPlace(benchmark::State& state, Cipher cipher) {
  Bytes data = message();
  data.resize(kDataBytes, 0);
  for (auto _ : state) {
    cipher(std::span(data));
    benchmark::DoNotOptimize(data.data());
  }
  countBytes(state);
}

template <CipherEngine kEngine, bool kDecrypt>
void QuistelEcb(benchmark::State& state) {
  if (!usable(state, kEngine)) return;
  Rijndael cipher(kEngine);
  cipher.setKey(key(), 8, 8);
  inPlace(state, [&](std::span<std::uint8_t> data) {
    if constexpr (kDecrypt) {
      cipher.decryptBlocks(data, data);
    } else {
      cipher.encryptBlocks(data, data);
    }
  });
}

template <bool kDecrypt>
void McryptEcb(benchmark::State& state) {
  McryptRijndael256 cipher(key());
  inPlace(state, [&](std::span<std::uint8_t> data) {
    if constexpr (kDecrypt) {
      cipher.decrypt(data);
    } else {
      cipher.encrypt(data);
    }
  });
}

template <CipherEngine kEngine>
void EncryptMessage(benchmark::State& state) {
  if (!usable(state, kEngine)) return;
  for (auto _ : state) {
    auto ciphertext = encryptMessage(message(), kPassword, kEngine);
    benchmark::DoNotOptimize(ciphertext->data());
  }
  countBytes(state);
}

template <CipherEngine kEngine>
void DecryptMessage(benchmark::State& state) {
  if (!usable(state, kEngine)) return;
  const Bytes ciphertext = *encryptMessage(message(), kPassword);
  for (auto _ : state) {
    auto plain = decryptMessage(ciphertext, kPassword, kEngine);
    benchmark::DoNotOptimize(plain->data());
  }
  countBytes(state);
}

void McryptEncryptMessage(benchmark::State& state) {
  for (auto _ : state) {
    auto ciphertext = oracleEncryptMessage(message(), kPassword);
    benchmark::DoNotOptimize(ciphertext.data());
  }
  countBytes(state);
}

void McryptDecryptMessage(benchmark::State& state) {
  const Bytes ciphertext = oracleEncryptMessage(message(), kPassword);
  for (auto _ : state) {
    auto plain = oracleDecryptMessage(ciphertext, kPassword);
    benchmark::DoNotOptimize(plain->data());
  }
  countBytes(state);
}

void FreshResult(benchmark::State& state) {
  for (auto _ : state) {
    Bytes result(kDataBytes);
    benchmark::DoNotOptimize(result.data());
  }
  countBytes(state);
}

void setup(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

constexpr auto kTables = CipherEngine::Table;
constexpr auto kAes = CipherEngine::AesInstructions;

BENCHMARK(QuistelEcb<kTables, false>)->Name("EcbEncrypt/Tables")->Apply(setup);
BENCHMARK(QuistelEcb<kAes, false>)->Name("EcbEncrypt/AesInstructions")->Apply(setup);
BENCHMARK(McryptEcb<false>)->Name("EcbEncrypt/Mcrypt")->Apply(setup);
BENCHMARK(QuistelEcb<kTables, true>)->Name("EcbDecrypt/Tables")->Apply(setup);
BENCHMARK(QuistelEcb<kAes, true>)->Name("EcbDecrypt/AesInstructions")->Apply(setup);
BENCHMARK(McryptEcb<true>)->Name("EcbDecrypt/Mcrypt")->Apply(setup);
BENCHMARK(EncryptMessage<kTables>)->Name("EncryptMessage/Tables")->Apply(setup);
BENCHMARK(EncryptMessage<kAes>)->Name("EncryptMessage/AesInstructions")->Apply(setup);
BENCHMARK(McryptEncryptMessage)->Name("EncryptMessage/Mcrypt")->Apply(setup);
BENCHMARK(DecryptMessage<kTables>)->Name("DecryptMessage/Tables")->Apply(setup);
BENCHMARK(DecryptMessage<kAes>)->Name("DecryptMessage/AesInstructions")->Apply(setup);
BENCHMARK(McryptDecryptMessage)->Name("DecryptMessage/Mcrypt")->Apply(setup);
BENCHMARK(FreshResult)->Apply(setup);

}  // namespace
}  // namespace quistel

BENCHMARK_MAIN();
