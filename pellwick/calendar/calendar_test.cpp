#include "calendar/calendar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "fakes/qt_test_application.h"

// Readable failures.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace pellwick {
namespace {

const QStringList kColumns{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

class CalendarWindow : public ::testing::Test {
 protected:
  CalendarWindow() {
    calendar = new Calendar([this] { return today; });
  }
  ~CalendarWindow() override {
    delete calendar.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  template <typename T>
  T& child(const QString& name) {
    T* found = calendar->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return *found;
  }
  QLabel& cell(int column, int row) {
    return child<QLabel>(kColumns[column] + QString::number(row));
  }
  QString monthCaption() { return child<QLabel>("mnth").text(); }
  QString yearCaption() { return child<QLabel>("yr").text(); }

  // The grid as shown, row by row, Sunday first; "" is an empty cell.
  QStringList rows() {
    QStringList result;
    for (int row = 0; row < 5; ++row) {
      QStringList texts;
      for (int column = 0; column < 7; ++column) texts << cell(column, row).text();
      result << texts.join(',');
    }
    return result;
  }
  // Texts of the cells on a blue background.
  QStringList marked() {
    QStringList result;
    for (int column = 0; column < 7; ++column) {
      for (int row = 0; row < 5; ++row) {
        QLabel& label = cell(column, row);
        if (label.palette().color(QPalette::Window) == QColor(0, 0, 255)) result << label.text();
      }
    }
    return result;
  }

  void pick(const char* listName, const QString& text) {
    auto& list = child<QListWidget>(listName);
    QListWidgetItem* item = list.findItems(text, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
  }
  void viewMonth() { child<QPushButton>("cmdstd").click(); }
  void focus(QWidget& window) {
    window.activateWindow();
    QCoreApplication::processEvents();
  }

  QDate today{2031, 3, 7};  // a Friday; March 2031 starts on a Saturday
  QPointer<Calendar> calendar;
};

const QStringList kMarch2031{"30,31,,,,,1", "2,3,4,5,6,7,8", "9,10,11,12,13,14,15",
                             "16,17,18,19,20,21,22", "23,24,25,26,27,28,29"};

TEST_F(CalendarWindow, LoadFillsTheListsAndLeavesEverythingElseEmpty) {
  auto& months = child<QListWidget>("lstmnth");
  ASSERT_EQ(months.count(), 12);
  EXPECT_EQ(months.item(0)->text(), "January");
  EXPECT_EQ(months.item(11)->text(), "December");
  auto& years = child<QListWidget>("lstyr");
  ASSERT_EQ(years.count(), 5000 - 2031 + 1);
  EXPECT_EQ(years.item(0)->text(), "2031");
  EXPECT_EQ(years.item(years.count() - 1)->text(), "5000");
  EXPECT_TRUE(months.selectedItems().isEmpty());
  EXPECT_TRUE(years.selectedItems().isEmpty());

  EXPECT_EQ(monthCaption(), "");
  EXPECT_EQ(yearCaption(), "");
  EXPECT_EQ(rows(), QStringList(5, ",,,,,,"));
  EXPECT_FALSE(calendar->isVisible());
}

TEST_F(CalendarWindow, OpensOnTodaysMonthWithTodayMarked) {
  calendar->open();
  EXPECT_TRUE(calendar->isVisible());
  EXPECT_EQ(calendar->windowTitle(), "Tray Calendar");
  EXPECT_EQ(monthCaption(), "March");
  EXPECT_EQ(yearCaption(), "2031");
  EXPECT_EQ(rows(), kMarch2031);
  EXPECT_EQ(marked(), QStringList{"7"});
  // Every cell black and bold once marked, the Sunday column too.
  EXPECT_EQ(cell(0, 1).palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_TRUE(cell(0, 1).font().bold());
  EXPECT_EQ(cell(0, 1).palette().color(QPalette::Window),
            QApplication::palette().color(QPalette::Button));
}

TEST_F(CalendarWindow, SitsWhereTheDesignPutsIt) {
  calendar->open();
  // At 96 DPI a pixel is 15 twips.
  EXPECT_EQ(calendar->size(), QSize(334, 358));
  EXPECT_EQ(child<QListWidget>("lstmnth").geometry(), QRect(20, 32, 101, 49));
  EXPECT_EQ(child<QListWidget>("lstyr").geometry(), QRect(131, 33, 93, 49));
  EXPECT_EQ(child<QPushButton>("cmdstd").geometry(), QRect(232, 62, 73, 20));
  EXPECT_EQ(child<QPushButton>("CmdHide").geometry(), QRect(280, 8, 40, 20));
  EXPECT_EQ(child<QLabel>("Label1").geometry(), QRect(20, 17, 80, 15));
  EXPECT_EQ(child<QLabel>("mnth").geometry(), QRect(67, 336, 80, 17));
  EXPECT_EQ(child<QLabel>("wkd6").pos(), QPoint(287, 112));
  EXPECT_EQ(cell(0, 0).pos(), QPoint(28, 145));  // set a little lower than its row
  EXPECT_EQ(cell(2, 0).pos(), QPoint(117, 144));
  EXPECT_EQ(cell(4, 2).pos(), QPoint(208, 222));
  EXPECT_EQ(cell(6, 4).pos(), QPoint(296, 297));
  // Cells grow with their number; the font is a bold serif of 11.25 points.
  EXPECT_GT(cell(0, 0).width(), cell(6, 0).width());
  EXPECT_EQ(cell(6, 0).height(), 17);
  EXPECT_EQ(cell(6, 0).font().family(), "Times New Roman");
  EXPECT_EQ(cell(6, 0).font().pointSizeF(), 11.25);
  EXPECT_EQ(child<QLabel>("wkd0").palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(calendar->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
}

TEST_F(CalendarWindow, ListPicksOnlyFeedTheCaptionsUntilViewMonth) {
  calendar->open();
  pick("lstmnth", "June");
  pick("lstyr", "2032");
  EXPECT_EQ(monthCaption(), "June");
  EXPECT_EQ(yearCaption(), "2032");
  EXPECT_EQ(rows(), kMarch2031);

  viewMonth();
  const QStringList june2032{",,1,2,3,4,5", "6,7,8,9,10,11,12", "13,14,15,16,17,18,19",
                             "20,21,22,23,24,25,26", "27,28,29,30,,,"};
  EXPECT_EQ(rows(), june2032);
  EXPECT_TRUE(marked().isEmpty());  // the 7th of June 2032 is not today
  viewMonth();
  EXPECT_EQ(rows(), june2032);

  // A month alone is shown in the year on display.
  pick("lstmnth", "February");
  viewMonth();
  EXPECT_EQ(yearCaption(), "2032");
  EXPECT_EQ(rows()[4], "29,,,,,,");
}

TEST_F(CalendarWindow, ViewMonthWithAnEmptyCaptionAsksForBoth) {
  calendar->show();  // shown without activation: the captions are still empty
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::Critical;
  QList<QAbstractButton*> buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    icon = box->icon();
    buttons = box->buttons();
    box->accept();
  });
  viewMonth();
  EXPECT_EQ(text, "Pl. Select Both Month and Year ");
  EXPECT_EQ(title, "Pellwick");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons.size(), 1);
  EXPECT_EQ(rows(), QStringList(5, ",,,,,,"));
  EXPECT_EQ(monthCaption(), "");
}

TEST_F(CalendarWindow, HideThenOpenReturnsToTodaysMonth) {
  calendar->open();
  pick("lstmnth", "February");
  pick("lstyr", "2032");
  viewMonth();
  EXPECT_EQ(rows()[0], "1,2,3,4,5,6,7");

  child<QPushButton>("CmdHide").click();
  EXPECT_FALSE(calendar->isVisible());
  ASSERT_FALSE(calendar.isNull());  // hidden, not unloaded
  calendar->open();
  EXPECT_EQ(monthCaption(), "March");
  EXPECT_EQ(yearCaption(), "2031");
  EXPECT_EQ(rows(), kMarch2031);
  EXPECT_EQ(marked(), QStringList{"7"});
  // The list picks stay as they were, and a click on one counts as picking it again.
  EXPECT_EQ(child<QListWidget>("lstmnth").selectedItems().value(0)->text(), "February");
  pick("lstmnth", "February");
  EXPECT_EQ(monthCaption(), "February");
  EXPECT_EQ(yearCaption(), "2031");
  pick("lstyr", "2032");
  EXPECT_EQ(yearCaption(), "2032");
  viewMonth();
  EXPECT_EQ(rows()[0], "1,2,3,4,5,6,7");
}

TEST_F(CalendarWindow, ReturningFromAnotherOwnWindowActivatesButNotFromAnotherProgram) {
  QWidget other;
  other.show();
  focus(other);
  calendar->open();
  focus(*calendar);
  pick("lstmnth", "July");
  viewMonth();
  ASSERT_EQ(monthCaption(), "July");

  // Another window of the program, then back: today's month again.
  focus(other);
  focus(*calendar);
  EXPECT_EQ(monthCaption(), "March");
  EXPECT_EQ(rows(), kMarch2031);

  // Another program took the focus from our other window, then back: no change.
  pick("lstmnth", "August");
  viewMonth();
  focus(other);
  emit qGuiApp->focusWindowChanged(nullptr);  // as X11 reports it; offscreen never does
  focus(*calendar);
  EXPECT_EQ(monthCaption(), "August");

  // Nor is coming back from the calendar's own message box, or from a popup menu.
  QMessageBox box(QMessageBox::NoIcon, "Pellwick", "x", QMessageBox::Ok, calendar);
  box.show();
  focus(box);
  box.close();
  focus(*calendar);
  EXPECT_EQ(monthCaption(), "August");
  QWidget menu(nullptr, Qt::Popup);
  menu.show();
  QCoreApplication::processEvents();
  ASSERT_EQ(QGuiApplication::focusWindow(), menu.windowHandle());
  menu.hide();
  focus(*calendar);
  EXPECT_EQ(monthCaption(), "August");
}

TEST_F(CalendarWindow, ClosingOtherThanByHideUnloads) {
  calendar->open();
  calendar->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(calendar.isNull());
}

}  // namespace
}  // namespace pellwick
