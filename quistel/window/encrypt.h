#pragma once
// Quistel's only window: a text area and seven buttons to encrypt, decrypt, save, open and
// clear the text.

#include <QWidget>

#include "window/crypt_folder.h"

class QPushButton;

namespace quistel {

class LongLineTextEdit;
class Prompts;

class Encrypt : public QWidget {
  Q_OBJECT

 public:
  // Loading the window creates the crypt folder.
  Encrypt(Prompts& prompts, const CryptPlaces& places, QWidget* parent = nullptr);

  const QString& cryptFolder() const { return cryptFolder_; }

  LongLineTextEdit* Text1;
  QPushButton* cmdEncrypt;
  QPushButton* cmdDecrypt;
  QPushButton* cmdExit;
  QPushButton* cmdSave;
  QPushButton* cmdOpen;
  QPushButton* Clear;
  QPushButton* OpenCrypt;

 private:
  void cmdEncryptClick();
  void cmdDecryptClick();
  void cmdSaveClick();
  void openClick(const QString& title);

  void warn(const QString& text);

  Prompts& prompts_;
  QString cryptFolder_;
};

}  // namespace quistel
