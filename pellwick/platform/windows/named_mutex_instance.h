#pragma once
// The single-instance test with a named mutex in the user's session, named after the user so
// that no other user's process can hold it. The system closes the mutex handle when the
// process ends, however it ends, so a dead copy never counts.

#include <string>

#include "platform/single_instance.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {

class NamedMutexInstance : public SingleInstance {
 public:
  // `programName` names the mutex: copies that pass the same name exclude each other.
  explicit NamedMutexInstance(const std::string& programName);
  ~NamedMutexInstance() override;
  NamedMutexInstance(const NamedMutexInstance&) = delete;
  NamedMutexInstance& operator=(const NamedMutexInstance&) = delete;

  // A process that finds another copy holds no claim, so it can ask again later.
  bool anotherInstanceRunning() override;

 private:
  std::wstring mutexName_;
  HANDLE claim_ = nullptr;
};

}  // namespace pellwick::win32
