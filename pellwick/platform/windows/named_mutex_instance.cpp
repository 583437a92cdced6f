#include "platform/windows/named_mutex_instance.h"

#include <sddl.h>

#include <cstdint>
#include <vector>

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_paths.h"

namespace pellwick::win32 {
namespace {

// The SID of the user this process runs as, as text; empty when it cannot be read.
std::string currentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::uint8_t> buffer(size);
  std::string sid;
  wchar_t* text = nullptr;
  if (size >= sizeof(TOKEN_USER) &&
      GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    sid = toUtf8(text);
    LocalFree(text);
  }
  CloseHandle(token);
  return sid;
}

}  // namespace

NamedMutexInstance::NamedMutexInstance(const std::string& programName)
    : mutexName_(toWide(singleInstanceName(programName, currentUserSid()))) {}

NamedMutexInstance::~NamedMutexInstance() {
  if (claim_) CloseHandle(claim_);
}

bool NamedMutexInstance::anotherInstanceRunning() {
  if (claim_) return false;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName_.c_str());
  // Read before any other call can overwrite it.
  const DWORD error = GetLastError();
  if (!mutex) {
    // A copy running with other rights (access denied) or another kind of object under our
    // name (invalid handle) holds the name; any other failure leaves the test undecided, and
    // starting is better than refusing with a wrong message.
    return error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_HANDLE;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return true;
  }
  claim_ = mutex;
  return false;
}

}  // namespace pellwick::win32
