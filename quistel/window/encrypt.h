#pragma once
// Quistel's only window: a text area and seven buttons to encrypt, decrypt, save, open and
// clear the text.

#include <QWidget>
#include <functional>

#include "window/crypt_folder.h"
#include "window/text_crypt.h"

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
  // What Encrypt and Decrypt ask and say.
  struct KeyedStep {
    QString title;
    QString prefilled;
    QString noResult;       // the message when the cipher gives nothing
    QString notInCodePage;  // what follows the message naming a character
  };

  void cmdEncryptClick();
  void cmdDecryptClick();
  // Asks for a key; replaces the text by what `crypt` makes of it, or says why not.
  void replaceUnderKey(const KeyedStep& step,
                       const std::function<CryptResult(const QString&)>& crypt);
  void cmdSaveClick();
  void openClick(const QString& title);

  void warn(const QString& text);

  Prompts& prompts_;
  QString cryptFolder_;
};

}  // namespace quistel
