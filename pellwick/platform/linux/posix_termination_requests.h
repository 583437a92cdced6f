#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout closes the session with them) as requests to end,
// delivered on the user-interface thread through a socket pair. One object at a time.

#include <QSocketNotifier>
#include <memory>

#include "platform/termination_requests.h"

namespace pellwick {

class PosixTerminationRequests : public TerminationRequests {
 public:
  PosixTerminationRequests();
  ~PosixTerminationRequests() override;
  PosixTerminationRequests(const PosixTerminationRequests&) = delete;
  PosixTerminationRequests& operator=(const PosixTerminationRequests&) = delete;

  void setHandler(std::function<void()> handler) override;

 private:
  void drain();

  int readFd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> handler_;
};

}  // namespace pellwick
