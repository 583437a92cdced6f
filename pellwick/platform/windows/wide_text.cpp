#include "platform/windows/wide_text.h"

#include <limits>

#include "platform/windows/win32.h"

namespace pellwick::win32 {
namespace {

// The system calls count in int.
constexpr std::size_t kLongestText = static_cast<std::size_t>(std::numeric_limits<int>::max());

}  // namespace

std::wstring toWide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > kLongestText) return {};
  const int bytes = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, wide.data(), length);
  return wide;
}

std::string toUtf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > kLongestText) return {};
  const int units = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace pellwick::win32
