#include "platform/windows/named_mutex_instance.h"

#include "platform/windows/wide_text.h"

namespace pellwick::win32 {

NamedMutexInstance::NamedMutexInstance(const std::string& programName)
    : mutexName_(L"Local\\" + toWide(programName) + L".SingleInstance") {}

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
