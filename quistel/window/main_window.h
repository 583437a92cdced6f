#pragma once
// Quistel's only window: a text area and seven buttons to encrypt, decrypt, save, open and
// clear the text.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "storage/crypt_folder.h"

class QPushButton;
class QTextDocument;

namespace quistel {

class LongLineTextEdit;
class Prompts;
class TextReader;

// What Encrypt or Decrypt made of the text: the document to show, or the message saying why
// there is none.
struct StepOutcome {
  std::unique_ptr<QTextDocument> document;
  QString message;
};

// Told the share of an operation done, in percent; called on the worker thread between the
// operation's steps. Throws to end the operation when the user has cancelled it.
using ProgressReport = std::function<void(int percent)>;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Creates the crypt folder.
  MainWindow(Prompts& prompts, const CryptPlaces& places, QWidget* parent = nullptr);

  const QString& cryptFolder() const { return cryptFolder_; }

  LongLineTextEdit* textEdit() const { return textEdit_; }
  QPushButton* encryptButton() const { return encryptButton_; }
  QPushButton* decryptButton() const { return decryptButton_; }
  QPushButton* closeButton() const { return closeButton_; }
  QPushButton* saveButton() const { return saveButton_; }
  QPushButton* openButton() const { return openButton_; }
  QPushButton* clearButton() const { return clearButton_; }
  QPushButton* openCryptButton() const { return openCryptButton_; }

  // Called on the worker thread at each progress report of an operation, with the share done in
  // percent; tests inject failures and hold the worker through it.
  void setProgressObserver(ProgressReport observer) { progressObserver_ = std::move(observer); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // What Encrypt and Decrypt ask and show.
  struct KeyedStep {
    QString title;
    QString prefilled;
    QString working;  // the progress label
  };
  // Makes the document to show under the key, for `owner`; runs on the worker thread.
  using MakeDocument = std::function<StepOutcome(const QString& key, QThread* owner,
                                                 const ProgressReport& progress)>;

  void encryptClicked();
  void decryptClicked();
  // Asks for a key; gives `reader` the text a slice at a time, then replaces the text by what
  // `make` makes of it as one undo step, or says why not.
  void replaceUnderKey(const KeyedStep& keyed, TextReader& reader, const MakeDocument& make);
  // Runs `work` on a worker thread while the window repaints and takes no other input; shows
  // its progress when it takes longer than a second. Rethrows what `work` threw; Cancel ends the
  // work at its next progress report and the handler without a message. Returns, or throws,
  // only once the worker has ended. Encrypt, Decrypt, Save and Open all run this way, so a large
  // text never freezes the window.
  // Reads a slice of the text on the window's thread, telling the share of the operation done;
  // false once all is read.
  using ReadSlice = std::function<bool(const std::function<void(int percent)>& progress)>;
  // Before `work`, `readSlice` (when given) runs on the window's thread between its events,
  // until it returns false.
  void runBusy(const QString& label, const std::function<void(const ProgressReport&)>& work,
               const ReadSlice& readSlice = {});
  // Gives `reader` the text of the text area a slice at a time, telling the share of it read up
  // to `share` percent of the operation, and runs `allRead` once all of it is read.
  ReadSlice readInto(TextReader& reader, int share, const std::function<void()>& allRead);
  void saveClicked();
  void openClicked(const QString& title);
  // Runs a button's handler; whatever it throws ends in a message, the text left as it was.
  void guarded(const std::function<void()>& handler);

  void warn(const QString& text);

  Prompts& prompts_;
  QString cryptFolder_;
  bool busy_ = false;
  ProgressReport progressObserver_;

  LongLineTextEdit* textEdit_;
  QPushButton* encryptButton_;
  QPushButton* decryptButton_;
  QPushButton* closeButton_;
  QPushButton* saveButton_;
  QPushButton* openButton_;
  QPushButton* clearButton_;
  QPushButton* openCryptButton_;
};

}  // namespace quistel
