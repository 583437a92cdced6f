#pragma once
// Quistel's only window: a text area and seven buttons to encrypt, decrypt, save, open and
// clear the text.

#include <QWidget>
#include <functional>
#include <optional>

#include "window/crypt_folder.h"
#include "window/text_crypt.h"

class QPushButton;

namespace quistel {

class LongLineTextEdit;
class Prompts;

// What Encrypt or Decrypt made of the text: the new text, or the message saying why there is
// none.
struct StepOutcome {
  std::optional<QString> text;
  QString message;
};

// Told the share of an operation done, in percent; called on the worker thread.
using ProgressReport = std::function<void(int percent)>;

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

  // Called on the worker thread at each stage of Encrypt and Decrypt, with the share done in
  // percent; tests inject failures through it.
  ProgressReport onProgress;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // What Encrypt and Decrypt ask and show.
  struct KeyedStep {
    QString title;
    QString prefilled;
    QString working;  // the progress label
  };
  using Step = std::function<StepOutcome(const QString& key, const ProgressReport& progress)>;

  void cmdEncryptClick();
  void cmdDecryptClick();
  // Asks for a key; replaces the text by what `step` makes of it as one undo step, or says why
  // not.
  void replaceUnderKey(const KeyedStep& keyed, const Step& step);
  // Runs `work` on a worker thread while the window repaints and takes no other input; shows
  // its progress when it takes longer than a second. Rethrows what `work` threw. Encrypt,
  // Decrypt, Save and Open all run this way, so a large text never freezes the window.
  void runBusy(const QString& label, const std::function<void(const ProgressReport&)>& work);
  void cmdSaveClick();
  void openClick(const QString& title);
  // Runs a button's handler; whatever it throws ends in a message, the text left as it was.
  void guarded(const std::function<void()>& handler);

  void warn(const QString& text);

  Prompts& prompts_;
  QString cryptFolder_;
  bool busy_ = false;
};

}  // namespace quistel
