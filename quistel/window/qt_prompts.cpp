#include "window/qt_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "text/qt_secure_wipe.h"

namespace quistel {

std::optional<QString> QtPrompts::askText(const QString& prompt, const QString& title,
                                          const QString& prefilled) {
  QInputDialog dialog(owner_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(prefilled);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  QString text = dialog.textValue();
  dialog.setTextValue(QString());  // the box keeps neither the key nor its undo history
  if (accepted) return text;
  secureWipe(text);
  return std::nullopt;
}

std::optional<QString> QtPrompts::chooseFileToOpen(const OpenDialogSettings& settings) {
  QFileDialog dialog(owner_, settings.title, settings.folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(toNameFilters(settings.filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

void QtPrompts::showMessage(const QString& text, Icon icon, const QString& title) {
  QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information, title,
                  text, QMessageBox::Ok, owner_);
  box.exec();
}

QStringList toNameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == u"*.*") pattern = QStringLiteral("*");
    }
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
  }
  return filters;
}

}  // namespace quistel
