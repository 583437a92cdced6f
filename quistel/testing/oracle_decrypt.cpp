// Decrypts a saved Quistel file with libmcrypt instead of our cipher, for the desktop test:
//   quistel_oracle_decrypt KEY FILE
// prints the message bytes, or fails when the file does not decrypt.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "testing/mcrypt_oracle.h"

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // saved files hold upper-case digits only
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: quistel_oracle_decrypt KEY FILE\n";
    return 2;
  }
  std::ifstream file(argv[2], std::ios::binary);
  std::string hex((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (hex.size() < 2 || hex.substr(hex.size() - 2) != "\r\n") {
    std::cerr << "the file does not end with CR LF\n";
    return 1;
  }
  hex.resize(hex.size() - 2);
  if (hex.size() % 64 != 0) {
    std::cerr << "the hex text is not whole 32-byte blocks\n";
    return 1;
  }
  quistel::Bytes ciphertext;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = hexValue(hex[i]);
    const int low = hexValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      std::cerr << "not an upper-case hex digit at " << i << "\n";
      return 1;
    }
    ciphertext.push_back(static_cast<std::uint8_t>(16 * high + low));
  }
  const std::string key = argv[1];
  const auto message = quistel::oracleDecryptMessage(
      ciphertext, quistel::ByteView(reinterpret_cast<const std::uint8_t*>(key.data()), key.size()));
  if (!message) {
    std::cerr << "the file does not decrypt under this key\n";
    return 1;
  }
  std::cout.write(reinterpret_cast<const char*>(message->data()),
                  static_cast<std::streamsize>(message->size()));
  return 0;
}
