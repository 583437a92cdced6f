#include "platform/windows/windows_paths.h"

#include <algorithm>

namespace pellwick::win32 {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// "S-", then numbers joined by '-': nothing that could lead into another namespace.
bool isSidText(std::string_view text) {
  if (!text.starts_with("S-")) return false;
  text.remove_prefix(2);
  bool digitBefore = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digitBefore = true;
    } else if (c == '-' && digitBefore) {
      digitBefore = false;
    } else {
      return false;
    }
  }
  return digitBefore;
}

}  // namespace

std::string nativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '/', '\\');
  return native;
}

std::optional<std::string> quotedCommand(std::string_view executablePath) {
  if (executablePath.empty() || executablePath.find('"') != std::string_view::npos) {
    return std::nullopt;
  }
  return '"' + nativePath(executablePath) + '"';
}

std::string fileStem(std::string_view path) {
  const auto separator = std::find_if(path.rbegin(), path.rend(), isSeparator);
  const std::string_view name = path.substr(static_cast<std::size_t>(path.rend() - separator));
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

bool hasEmptyFolderName(std::string_view path) {
  const std::size_t start =
      path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]) ? 2 : 0;
  for (std::size_t i = start + 1; i < path.size(); ++i) {
    if (isSeparator(path[i - 1]) && isSeparator(path[i])) return true;
  }
  return false;
}

std::string singleInstanceName(std::string_view programName, std::string_view userSid) {
  // Appended piece by piece: "literal" + std::string trips a false -Wrestrict of GCC 12.
  std::string name = "Local\\";
  name.append(programName).append(".SingleInstance");
  if (isSidText(userSid)) name.append(".").append(userSid);
  return name;
}

}  // namespace pellwick::win32
