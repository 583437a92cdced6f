#include "flasher/reminders.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "flasher/interval_text.h"
#include "resources/built_in_pictures.h"

namespace pellwick {
namespace {

const QColor kLightBlue(192, 192, 255);
constexpr int kMoonSize = 32;

QIcon builtInIcon(const QString& fileName) { return QIcon(builtInPicturePath(fileName)); }

}  // namespace

Reminders::Reminders(TrayShell& trayShell, std::function<void()> showReminders) : QWidget(nullptr) {
  setAttribute(Qt::WA_DeleteOnClose);
  buildControls();
  toDoLines[0]->setFocus();  // typing goes to the first to-do line, not the heading
  connect(TxtInterval, &QLineEdit::textChanged, this, &Reminders::TxtInterval_Change);

  FormSys = new FlashControl(trayShell, std::move(showReminders));
  FormSys->setFSys(this);
  TxtInterval->setText("1000");
}

void Reminders::bringToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void Reminders::buildControls() {
  setObjectName("Reminders");
  setWindowTitle(" Pellwick");
  setWindowIcon(builtInIcon("reminders.ico"));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kLightBlue);
  setPalette(colours);
  setAutoFillBackground(true);

  const auto named = [](QWidget* control, const QString& name) {
    control->setObjectName(name);
    return control;
  };

  Text1 = new QLineEdit("To Do:");
  named(Text1, "Text1");
  Text1->setFrame(false);
  QPalette heading = Text1->palette();
  heading.setColor(QPalette::Base, kLightBlue);
  Text1->setPalette(heading);
  QFont bold = Text1->font();
  bold.setBold(true);
  Text1->setFont(bold);

  auto* lines = new QVBoxLayout;
  lines->setSpacing(4);
  lines->addWidget(Text1);
  for (std::size_t i = 0; i < toDoLines.size(); ++i) {
    toDoLines[i] = new QLineEdit;
    named(toDoLines[i], QString("Text%1").arg(i + 2));
    lines->addWidget(toDoLines[i]);
  }

  FrameMoon = new QGroupBox("Moon Pictures");
  named(FrameMoon, "FrameMoon");
  auto* moons = new QHBoxLayout(FrameMoon);
  for (std::size_t i = 0; i < PICMOON.size(); ++i) {
    PICMOON[i] = new QLabel;
    named(PICMOON[i], QString("PICMOON%1").arg(i));
    PICMOON[i]->setPixmap(builtInIcon(QString("moon%1.ico").arg(i)).pixmap(kMoonSize, kMoonSize));
    PICMOON[i]->setFixedSize(kMoonSize, kMoonSize);
    moons->addWidget(PICMOON[i]);
  }
  TmrMoon = new QTimer(this);
  TmrMoon->setObjectName("TmrMoon");
  TmrMoon->setInterval(100);

  FrameInterval = new QGroupBox("Tray Icon Flash Interval");
  named(FrameInterval, "FrameInterval");
  TxtInterval = new QLineEdit("1000");
  named(TxtInterval, "TxtInterval");
  auto* interval = new QHBoxLayout(FrameInterval);
  interval->addWidget(TxtInterval);

  CmdExit = new QPushButton("Hide");
  named(CmdExit, "CmdExit");
  connect(CmdExit, &QPushButton::clicked, this, &QWidget::hide);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(FrameInterval, 1);
  bottom->addSpacing(24);
  bottom->addWidget(CmdExit, 0, Qt::AlignBottom);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(12, 10, 12, 12);
  window->setSpacing(10);
  window->addLayout(lines);
  window->addWidget(FrameMoon);
  window->addLayout(bottom);
}

void Reminders::TxtInterval_Change() {
  const QString normal =
      QString::fromStdString(normalIntervalText(TxtInterval->text().toStdString()));
  if (TxtInterval->text() != normal) TxtInterval->setText(normal);  // runs this handler again
  const auto milliseconds = intervalFromText(TxtInterval->text().toStdString());
  // a negative interval is refused by the flasher, which keeps its old one
  if (milliseconds && FormSys) (void)FormSys->setInterval(*milliseconds);
}

}  // namespace pellwick
