#pragma once
// The system asking the program to end: the user logging out, or a request to terminate.

#include <functional>

namespace pellwick {

class TerminationRequests {
 public:
  virtual ~TerminationRequests() = default;

  // `handler` runs on the user-interface thread at each request; an empty one ignores them.
  virtual void setHandler(std::function<void()> handler) = 0;
};

}  // namespace pellwick
