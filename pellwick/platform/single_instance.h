#pragma once
// Is another copy of this program running?

namespace pellwick {

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // True when a copy started earlier is still running. The first call claims the
  // program for this process until it ends; a claim left by a dead process never counts.
  virtual bool anotherInstanceRunning() = 0;
};

}  // namespace pellwick
