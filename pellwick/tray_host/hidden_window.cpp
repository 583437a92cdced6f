#include "tray_host/hidden_window.h"

namespace pellwick {

HiddenWindow::HiddenWindow(const QString& caption) {
  setWindowTitle(caption);
  requestedSize_ = size();
}

void HiddenWindow::setVisible(bool visible) { shownRequested_ = visible; }

}  // namespace pellwick
