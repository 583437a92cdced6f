#include "platform/linux/posix_termination_requests.h"

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cassert>
#include <cerrno>
#include <csignal>

namespace pellwick {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The signal handler may only write to a descriptor it finds in a plain variable.
volatile std::sig_atomic_t signalWriteFd = -1;
std::array<struct sigaction, kSignals.size()> previousActions{};

void onSignal(int signalNumber) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(signalWriteFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

PosixTerminationRequests::PosixTerminationRequests() {
  assert(signalWriteFd == -1 && "one PosixTerminationRequests at a time");
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) return;
  readFd_ = fds[0];
  signalWriteFd = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { drain(); });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    ::sigaction(kSignals[i], &action, &previousActions[i]);
  }
}

PosixTerminationRequests::~PosixTerminationRequests() {
  if (readFd_ < 0) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    ::sigaction(kSignals[i], &previousActions[i], nullptr);
  }
  notifier_.reset();
  ::close(signalWriteFd);
  signalWriteFd = -1;
  ::close(readFd_);
}

void PosixTerminationRequests::setHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

void PosixTerminationRequests::drain() {
  char bytes[16];
  bool requested = false;
  while (::read(readFd_, bytes, sizeof bytes) > 0) requested = true;
  if (requested && handler_) handler_();
}

}  // namespace pellwick
