#include "platform/windows/registry_autorun.h"

#include <string_view>

#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_paths.h"

namespace pellwick::win32 {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kShownRunKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Closes the key when it goes out of scope.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The system's words for an error code, without the full stop and the line break.
std::string systemReason(LSTATUS error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason =
      length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(error);
  LocalFree(text);
  constexpr std::wstring_view kTrailing = L" .\r\n";
  while (!reason.empty() && kTrailing.find(reason.back()) != std::wstring_view::npos) {
    reason.pop_back();
  }
  return toUtf8(reason);
}

AutoRunResult failed(const std::string& name, std::string reason) {
  return {false, std::string(kShownRunKey) + "\\" + name, std::move(reason)};
}

AutoRunResult failed(const std::string& name, LSTATUS error) {
  return failed(name, systemReason(error));
}

AutoRunResult done() { return {true, {}, {}}; }

}  // namespace

AutoRunResult RegistryAutoRun::setEntry(const std::string& name,
                                        const std::string& executablePath) {
  // An empty name is the key's default value.
  if (name.empty()) return failed(name, "the system tells no name of Pellwick's program file");
  const auto command = quotedCommand(executablePath);
  if (!command) return failed(name, "the system tells no usable path of Pellwick's program file");
  OpenKey run;
  const LSTATUS opened =
      RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, run.out(), nullptr);
  if (opened != ERROR_SUCCESS) return failed(name, opened);
  const std::wstring data = toWide(*command);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  const LSTATUS written = RegSetValueExW(run.get(), toWide(name).c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(data.c_str()), bytes);
  return written == ERROR_SUCCESS ? done() : failed(name, written);
}

AutoRunResult RegistryAutoRun::clearEntry(const std::string& name) {
  if (name.empty()) return failed(name, "the system tells no name of Pellwick's program file");
  OpenKey run;
  const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.out());
  if (opened == ERROR_FILE_NOT_FOUND) return done();
  if (opened != ERROR_SUCCESS) return failed(name, opened);
  const LSTATUS deleted = RegDeleteValueW(run.get(), toWide(name).c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND ? done()
                                                                     : failed(name, deleted);
}

std::string runningExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return toUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace pellwick::win32
