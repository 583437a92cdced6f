#pragma once
// The modal boxes the window asks and tells through, kept behind an interface so that tests
// can answer them.

#include <QString>
#include <optional>

namespace quistel {

// What the Open dialog is set up with.
struct OpenDialogSettings {
  QString title;
  QString filter;  // in the "Text Files(*.txt)|*.txt|..." form
  QString folder;
};

class Prompts {
 public:
  enum class Icon { Information, Warning };

  virtual ~Prompts() = default;

  // The entered text, empty if so entered; nothing when cancelled. The pre-filled text is
  // selected, so typing replaces it.
  virtual std::optional<QString> askText(const QString& prompt, const QString& title,
                                         const QString& prefilled) = 0;
  // An existing file chosen by the user; nothing when cancelled.
  virtual std::optional<QString> chooseFileToOpen(const OpenDialogSettings& settings) = 0;
  virtual void showMessage(const QString& text, Icon icon, const QString& title) = 0;
};

}  // namespace quistel
