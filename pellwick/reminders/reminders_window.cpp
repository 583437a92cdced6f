#include "reminders/reminders_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "reminders/interval_text.h"
#include "resources/built_in_pictures.h"

namespace pellwick {
namespace {

const QColor kLightBlue(192, 192, 255);
constexpr int kMoonSize = 32;
constexpr int kMoonPictures = 8;

QIcon builtInIcon(const QString& fileName) { return QIcon(builtInPicturePath(fileName)); }

}  // namespace

RemindersWindow::RemindersWindow(TrayIcons& trayIcons, std::function<void()> iconClicked)
    : QWidget(nullptr) {
  setAttribute(Qt::WA_DeleteOnClose);
  buildControls();
  toDoLines_[0]->setFocus();  // typing goes to the first to-do line, not the heading
  blinkingIcon_ = std::make_unique<BlinkingTrayIcon>(trayIcons, std::move(iconClicked));
  connect(intervalBox_, &QLineEdit::textChanged, this, &RemindersWindow::intervalEdited);
}

RemindersWindow::~RemindersWindow() = default;

void RemindersWindow::bringToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void RemindersWindow::buildControls() {
  setWindowTitle(" Pellwick");
  setWindowIcon(builtInIcon("reminders.ico"));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kLightBlue);
  setPalette(colours);
  setAutoFillBackground(true);

  auto* headingLine = new QLineEdit("To Do:");
  headingLine->setObjectName("heading");
  headingLine->setFrame(false);
  QPalette heading = headingLine->palette();
  heading.setColor(QPalette::Base, kLightBlue);
  headingLine->setPalette(heading);
  QFont bold = headingLine->font();
  bold.setBold(true);
  headingLine->setFont(bold);

  auto* lines = new QVBoxLayout;
  lines->setSpacing(4);
  lines->addWidget(headingLine);
  for (QLineEdit*& line : toDoLines_) {
    line = new QLineEdit;
    lines->addWidget(line);
  }

  auto* moonFrame = new QGroupBox("Moon Pictures");
  auto* moons = new QHBoxLayout(moonFrame);
  for (int phase = 0; phase < kMoonPictures; ++phase) {
    auto* moon = new QLabel;
    moon->setPixmap(builtInIcon(QString("moon%1.ico").arg(phase)).pixmap(kMoonSize, kMoonSize));
    moon->setFixedSize(kMoonSize, kMoonSize);
    moons->addWidget(moon);
  }

  auto* intervalFrame = new QGroupBox("Tray Icon Flash Interval");
  intervalBox_ = new QLineEdit("1000");
  intervalBox_->setObjectName("interval");
  (new QHBoxLayout(intervalFrame))->addWidget(intervalBox_);

  auto* hideButton = new QPushButton("Hide");
  connect(hideButton, &QPushButton::clicked, this, &QWidget::hide);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(intervalFrame, 1);
  bottom->addSpacing(24);
  bottom->addWidget(hideButton, 0, Qt::AlignBottom);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(12, 10, 12, 12);
  window->setSpacing(10);
  window->addLayout(lines);
  window->addWidget(moonFrame);
  window->addLayout(bottom);
}

void RemindersWindow::intervalEdited() {
  const QString normal =
      QString::fromStdString(normalIntervalText(intervalBox_->text().toStdString()));
  if (intervalBox_->text() != normal) intervalBox_->setText(normal);  // runs this handler again
  const auto milliseconds = intervalFromText(intervalBox_->text().toStdString());
  // a negative interval is refused by the icon, which keeps its old one
  if (milliseconds) (void)blinkingIcon_->setInterval(*milliseconds);
}

}  // namespace pellwick
