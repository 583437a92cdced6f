#include "platform/windows/win32_user_folders.h"

#include <cwchar>

#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_paths.h"

namespace pellwick::win32 {
namespace {

constexpr DWORD kLongestUserName = 256;         // UNLEN
constexpr INT_PTR kShellExecuteSucceeded = 32;  // results above this mean success

}  // namespace

std::string Win32UserFolders::userName() {
  std::wstring name(kLongestUserName + 1, L'\0');
  DWORD size = static_cast<DWORD>(name.size());
  if (!GetUserNameW(name.data(), &size)) return {};
  name.resize(wcsnlen(name.c_str(), name.size()));
  return toUtf8(name);
}

std::string Win32UserFolders::profileFolder(const std::string& user) {
  return "C:\\Documents and Settings\\" + user;
}

bool Win32UserFolders::createFolder(const std::string& path) {
  if (hasEmptyFolderName(path)) return false;
  return CreateDirectoryW(toWide(nativePath(path)).c_str(), nullptr) != 0;
}

bool Win32UserFolders::openFolder(const std::string& path) {
  // Only a folder: "Open" on a file would start it, and a missing one brings up an error box.
  const std::wstring folder = toWide(nativePath(path));
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"Open", folder.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > kShellExecuteSucceeded;
}

}  // namespace pellwick::win32
