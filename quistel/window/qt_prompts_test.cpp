#include "window/qt_prompts.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "window/window_testing.h"

namespace quistel {
namespace {

using namespace Qt::StringLiterals;

TEST(QtPrompts, AskTextOffersItsTextSelectedAndTellsCancelFromEmpty) {
  QtPrompts prompts;
  answerNextDialog<QInputDialog>([](QInputDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), u"Encrypt"_s);
    EXPECT_EQ(dialog->labelText(), u"Key"_s);
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), u"Type your key in."_s);
    EXPECT_EQ(edit->selectedText(), u"Type your key in."_s);
    QTest::keyClicks(edit, u"typed"_s);
    dialog->accept();
  });
  EXPECT_EQ(prompts.askText(u"Key"_s, u"Encrypt"_s, u"Type your key in."_s), u"typed"_s);

  answerNextDialog<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(prompts.askText(u"Key"_s, u"Decrypt"_s, u"x"_s), std::nullopt);

  answerNextDialog<QInputDialog>([](QInputDialog* dialog) {
    dialog->setTextValue(QString());
    dialog->accept();
  });
  EXPECT_EQ(prompts.askText(u"Key"_s, u"Decrypt"_s, u"x"_s), u""_s);
}

TEST(QtPrompts, TheKeyBoxKeepsNeitherTheKeyNorItsUndoHistory) {
  QtPrompts prompts;
  for (const bool accept : {true, false}) {
    bool emptied = false;
    answerNextDialog<QInputDialog>([&](QInputDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      QTest::keyClicks(edit, u"s3cret"_s);
      ASSERT_TRUE(edit->isUndoAvailable());
      QObject::connect(edit, &QLineEdit::textChanged, edit, [&emptied, edit](const QString& now) {
        emptied = now.isEmpty() && !edit->isUndoAvailable() && !edit->isRedoAvailable();
      });
      accept ? dialog->accept() : dialog->reject();
    });
    prompts.askText(u"Key"_s, u"Encrypt"_s, u"Type your key in."_s);
    EXPECT_TRUE(emptied) << (accept ? "accepted" : "cancelled");
  }
}

TEST(QtPrompts, EveryBoxStandsOverItsOwnerEvenWhenNoWindowIsActive) {
  QWidget owner;
  owner.setGeometry(200, 150, 400, 300);  // away from the screen's corner
  owner.show();
  QtPrompts prompts;
  prompts.setOwner(&owner);
  QApplication::setActiveWindow(nullptr);
  answerNextDialog<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_TRUE(owner.geometry().contains(box->geometry().center())) << box->x() << "," << box->y();
    box->accept();
  });
  prompts.showMessage(u"File is saved to ...\n/x/crypt1.txt"_s, Prompts::Icon::Information,
                      u"Quistel"_s);
  answerNextDialog<QInputDialog>([&](QInputDialog* dialog) {
    EXPECT_EQ(dialog->parentWidget(), &owner);
    dialog->reject();
  });
  prompts.askText(u"Key"_s, u"Encrypt"_s, u"x"_s);
  answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->parentWidget(), &owner);
    dialog->reject();
  });
  prompts.chooseFileToOpen({u"Open Encrypted File"_s, u"All Files(*.*)|*.*|"_s, QString()});
}

TEST(QtPrompts, OpenDialogShowsExistingFilesOfTheFolderUnderItsFilters) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile file(folder.filePath(u"crypt1.txt"_s));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  QtPrompts prompts;
  const OpenDialogSettings settings{
      u"Open Encrypted File"_s, u"Text Files(*.txt)|*.txt|All Files(*.*)|*.*|"_s, folder.path()};
  answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), u"Open Encrypted File"_s);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->nameFilters(),
              QStringList({u"Text Files(*.txt) (*.txt)"_s, u"All Files(*.*) (*)"_s}));
    dialog->selectFile(folder.filePath(u"crypt1.txt"_s));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept() is protected
  });
  EXPECT_EQ(prompts.chooseFileToOpen(settings), folder.filePath(u"crypt1.txt"_s));

  answerNextDialog<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(prompts.chooseFileToOpen(settings), std::nullopt);
}

TEST(QtPrompts, ShowMessageHasItsTitleTextAndIcon) {
  QtPrompts prompts;
  answerNextDialog<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), u"Quistel"_s);
    EXPECT_EQ(box->text(), u"File is saved to ...\n/x/crypt1.txt"_s);
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    box->accept();
  });
  prompts.showMessage(u"File is saved to ...\n/x/crypt1.txt"_s, Prompts::Icon::Information,
                      u"Quistel"_s);
}

TEST(NameFilters, KeepsTheDescriptionsAndMakesStarDotStarMatchEveryFile) {
  EXPECT_EQ(toNameFilters(u"Text Files(*.txt)|*.txt|Rich Text Files(*.rtf)|*.rtf|"
                          u"All Files(*.*)|*.*|"_s),
            QStringList({u"Text Files(*.txt) (*.txt)"_s, u"Rich Text Files(*.rtf) (*.rtf)"_s,
                         u"All Files(*.*) (*)"_s}));
  EXPECT_EQ(toNameFilters(u"Pictures|*.png;*.jpg"_s), QStringList({u"Pictures (*.png *.jpg)"_s}));
}

}  // namespace
}  // namespace quistel
