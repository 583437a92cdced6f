#pragma once
// The prompts as Qt's own dialogs (QInputDialog, QFileDialog, QMessageBox), over the window
// they are set to stand over.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "window/prompts.h"

namespace quistel {

class QtPrompts : public Prompts {
 public:
  // Every box is centred over this window, whether or not it is the active one.
  void setOwner(QWidget* owner) { owner_ = owner; }

  std::optional<QString> askText(const QString& prompt, const QString& title,
                                 const QString& prefilled) override;
  std::optional<QString> chooseFileToOpen(const OpenDialogSettings& settings) override;
  void showMessage(const QString& text, Icon icon, const QString& title) override;

 private:
  QPointer<QWidget> owner_;
};

// "Text Files(*.txt)|*.txt|All Files(*.*)|*.*|" as Qt name filters. Each keeps its description
// for display and lists its patterns, with "*.*" meaning every file as it does on Windows.
QStringList toNameFilters(const QString& filter);

}  // namespace quistel
