#pragma once
// The platform interfaces carry UTF-8; the wide (W) Win32 calls take UTF-16.

#include <string>
#include <string_view>

namespace pellwick::win32 {

// Invalid UTF-8 sequences become U+FFFD.
std::wstring toWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::wstring_view wide);

}  // namespace pellwick::win32
