#pragma once
// A window that is never seen: show, hide and size requests are kept as its state and
// change nothing on screen, so it never appears on the desktop or in the taskbar.

#include <QSize>
#include <QWidget>

namespace pellwick {

class HiddenWindow : public QWidget {
 public:
  explicit HiddenWindow(const QString& caption);

  void setVisible(bool visible) override;
  bool shownRequested() const { return shownRequested_; }

  void requestSize(int width, int height) { requestedSize_ = QSize(width, height); }
  QSize requestedSize() const { return requestedSize_; }

 private:
  bool shownRequested_ = false;
  QSize requestedSize_;
};

}  // namespace pellwick
