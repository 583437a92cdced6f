#pragma once
// What the title-bar clock keeps while a window shows a caption it wrote, so that the next
// run gives that window its own title back after a run that could not (a crash, kill -9).

#include <optional>
#include <string>

#include "platform/desktop_windows.h"

namespace pellwick {

struct RewrittenTitle {
  WindowId window = 0;
  WindowTitle own;      // the window's own title, as read before the clock wrote over it
  std::string written;  // what the clock wrote
};

class TitleRecord {
 public:
  virtual ~TitleRecord() = default;
  // The title kept last; nothing when none is kept or the record cannot be read.
  virtual std::optional<RewrittenTitle> load() = 0;
  // Replaces what was kept.
  virtual void keep(const RewrittenTitle& title) = 0;
  virtual void clear() = 0;
};

}  // namespace pellwick
