#pragma once
// The prompts as Qt's own dialogs (QInputDialog, QFileDialog, QMessageBox), over the active
// window.

#include <QStringList>

#include "window/prompts.h"

namespace quistel {

class QtPrompts : public Prompts {
 public:
  std::optional<QString> askText(const QString& prompt, const QString& title,
                                 const QString& prefilled) override;
  std::optional<QString> chooseFileToOpen(const OpenDialogSettings& settings) override;
  void showMessage(const QString& text, Icon icon, const QString& title) override;
};

// "Text Files(*.txt)|*.txt|All Files(*.*)|*.*|" as Qt name filters. Each keeps its description
// for display and lists its patterns, with "*.*" meaning every file as it does on Windows.
QStringList toNameFilters(const QString& filter);

}  // namespace quistel
