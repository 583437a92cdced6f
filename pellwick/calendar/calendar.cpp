#include "calendar/calendar.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <utility>

namespace pellwick {

using pq::toQColor;

namespace {

const char* const kTitle = "Tray Calendar";
const char* const kApplicationTitle = "Pellwick";
const char* const kSelectBothMessage = "Pl. Select Both Month and Year ";
constexpr int kLastListedYear = 5000;

// The design, in twips.
constexpr int kClientWidth = 5010;
constexpr int kClientHeight = 5370;

constexpr std::array<const char*, MonthGrid::kColumns> kColumnNames{"sun", "mon", "tue", "wed",
                                                                    "thu", "fri", "sat"};
constexpr std::array<const char*, MonthGrid::kColumns> kHeaderTexts{"SUN", "MON", "TUE", "WED",
                                                                    "THU", "FRI", "SAT"};
constexpr std::array<int, MonthGrid::kColumns> kHeaderLeft{250, 900, 1600, 2240, 2920, 3660, 4300};
constexpr int kHeaderTop = 1680;
constexpr int kHeaderHeight = 250;

constexpr std::array<int, MonthGrid::kColumns> kCellLeft{420, 1100, 1760, 2440, 3120, 3800, 4440};
constexpr std::array<int, MonthGrid::kRows> kCellTop{2160, 2760, 3300, 3900, 4460};
constexpr int kCellHeight = 255;
constexpr int kSundayCellWidth = 120;
constexpr int kCellWidth = 135;

// The design sets a few cells a little lower than their row.
int cellTop(int column, int row) {
  if (row == 0 && column <= 1) return 2180;
  if (row == 2 && (column == 4 || column == 5)) return 3330;
  return kCellTop[row];
}

int cellWidth(int column) { return column == 0 ? kSundayCellWidth : kCellWidth; }

struct Line {
  int x1, y1, x2, y2;
};
constexpr int kGridLeft = 120;
constexpr int kGridRight = 4890;
constexpr int kGridTop = 2040;
constexpr int kGridBottom = 4940;
constexpr std::array<int, 5> kGridRowLines{2040, 2630, 3160, 3740, 4320};
constexpr std::array<int, 6> kGridColumnLines{800, 1470, 2150, 2820, 3520, 4200};
constexpr Line kListSeparator{252, 1340, 4744, 1340};
constexpr QRect kGridFrame(120, 1440, 4760, 3500);

constexpr qreal kTitlePoints = 8.25;
constexpr qreal kListPoints = 9;
constexpr qreal kGridPoints = 11.25;

QFont designFont(qreal points) {
  QFont font("Times New Roman");
  font.setStyleHint(QFont::Serif);
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

void setColours(QWidget& widget, std::uint32_t text, std::uint32_t back) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, toQColor(text, QApplication::palette()));
  palette.setColor(QPalette::Window, toQColor(back, QApplication::palette()));
  widget.setPalette(palette);
}

}  // namespace

Calendar::Calendar(TodayProvider today, const QIcon& icon)
    : today_(std::move(today)), twips_(logicalDpiX()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("Calendar");
  setWindowTitle(kTitle);
  if (!icon.isNull()) setWindowIcon(icon);
  setFixedSize(twips_.toPixels(kClientWidth), twips_.toPixels(kClientHeight));
  setAutoFillBackground(true);
  setColours(*this, colour::WindowText, colour::Lavender);

  createLists();
  createButtons();
  createGrid();
  monthCaption_ = addLabel("mnth", QString(), kGridPoints, twips_.toPixels(1000, 5040, 1200, 255));
  yearCaption_ = addLabel("yr", QString(), kGridPoints, twips_.toPixels(3120, 5040, 1200, 255));

  // Load
  fillLists();
  grid_.clearDays();
  renderCells();

  focusOnOtherOwnWindow_ = QGuiApplication::focusWindow() != nullptr;
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &Calendar::followFocus);
}

QLabel* Calendar::addLabel(const QString& name, const QString& text, qreal points,
                           const QRect& geometry) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setFont(designFont(points));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAutoFillBackground(true);
  label->setGeometry(geometry);
  return label;
}

void Calendar::createLists() {
  addLabel("Label1", "Select Month ", kTitlePoints, twips_.toPixels(300, 255, 1200, 225));
  addLabel("Label2", "Select Year", kTitlePoints, twips_.toPixels(1960, 255, 1200, 225));
  auto makeList = [this](const char* name, const QRect& geometry) {
    auto* list = new QListWidget(this);
    list->setObjectName(name);
    list->setFont(designFont(kListPoints));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, toQColor(colour::NavyText, QApplication::palette()));
    list->setPalette(palette);
    list->setUniformItemSizes(true);
    list->setGeometry(geometry);
    return list;
  };
  monthList_ = makeList("lstmnth", twips_.toPixels(300, 480, 1515, 735));
  yearList_ = makeList("lstyr", twips_.toPixels(1960, 500, 1395, 735));
  // A pick only feeds the caption; the grid changes on "&View Month". A click on the item
  // that is already picked picks it again: after a return to today's month the captions
  // no longer show it.
  auto feed = [](QListWidget* list, QLabel* caption) {
    const QList<QListWidgetItem*> picked = list->selectedItems();
    if (!picked.isEmpty()) caption->setText(picked.first()->text());
  };
  for (const auto& [list, caption] :
       {std::pair{monthList_, &monthCaption_}, {yearList_, &yearCaption_}}) {
    const auto pick = [list = list, caption = caption, feed] { feed(list, *caption); };
    connect(list, &QListWidget::itemSelectionChanged, this, pick);
    connect(list, &QListWidget::itemClicked, this, pick);
  }
}

void Calendar::createButtons() {
  auto* viewMonthButton = new QPushButton("&View Month", this);
  viewMonthButton->setObjectName("cmdstd");
  viewMonthButton->setGeometry(twips_.toPixels(3480, 930, 1100, 300));
  connect(viewMonthButton, &QPushButton::clicked, this, &Calendar::viewMonth);

  auto* hideButton = new QPushButton("Hide", this);
  hideButton->setObjectName("CmdHide");
  hideButton->setGeometry(twips_.toPixels(4200, 120, 600, 300));
  connect(hideButton, &QPushButton::clicked, this, &QWidget::hide);
}

void Calendar::createGrid() {
  for (int column = 0; column < MonthGrid::kColumns; ++column) {
    QLabel* header = addLabel("wkd" + QString::number(column), kHeaderTexts[column], kGridPoints,
                              twips_.toPixels(kHeaderLeft[column], kHeaderTop, 0, kHeaderHeight));
    setColours(*header, column == 0 ? colour::Red : colour::WindowText, colour::Lavender);
    header->resize(header->sizeHint().width(), header->height());
    for (int row = 0; row < MonthGrid::kRows; ++row) {
      cells_[column][row] = addLabel(
          kColumnNames[column] + QString::number(row), QString(), kGridPoints,
          twips_.toPixels(kCellLeft[column], cellTop(column, row), cellWidth(column), kCellHeight));
    }
  }
}

void Calendar::fillLists() {
  monthList_->addItems(englishMonthNames());
  QStringList years;
  for (int year = today_().year(); year <= kLastListedYear; ++year) {
    years << QString::number(year);
  }
  yearList_->addItems(years);
}

void Calendar::open() {
  if (!placed_) {
    move(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry())
            .topLeft());
    placed_ = true;
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  activate();
}

// Back to today's month, whatever was on display; the list picks stay.
void Calendar::activate() {
  const QDate today = today_();
  monthCaption_->setText(englishMonthNames()[today.month() - 1]);
  yearCaption_->setText(QString::number(today.year()));
  showMonthOfCaptions();
}

void Calendar::viewMonth() {
  if (monthCaption_->text().isEmpty() || yearCaption_->text().isEmpty()) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, kSelectBothMessage, QMessageBox::Ok,
                    this);
    box.exec();
    return;
  }
  monthCaption_->setVisible(true);
  yearCaption_->setVisible(true);
  showMonthOfCaptions();
}

void Calendar::showMonthOfCaptions() {
  grid_.clearDays();
  grid_.showDays(monthCaption_->text(), yearCaption_->text());
  grid_.markToday(today_());
  renderCells();
}

// A cell is as wide as its number needs (never narrower than its design) and not seen
// while empty.
void Calendar::renderCells() {
  for (int column = 0; column < MonthGrid::kColumns; ++column) {
    for (int row = 0; row < MonthGrid::kRows; ++row) {
      const DayCell& cell = grid_.cell(column, row);
      QLabel& label = *cells_[column][row];
      QFont font = label.font();
      font.setBold(cell.bold);
      font.setStrikeOut(cell.strikethrough);
      label.setFont(font);
      setColours(label, cell.textColour, cell.backColour);
      label.setText(cell.text);
      const int width = std::max(twips_.toPixels(cellWidth(column)),
                                 label.fontMetrics().horizontalAdvance(cell.text));
      label.resize(width, label.height());
      label.setVisible(!cell.text.isEmpty());
    }
  }
}

// Activation also comes from returning to the calendar from another window of this
// program; returning from another program (no window of ours had the focus) is not one,
// nor is returning from the calendar's own dialogs or from a popup menu.
void Calendar::followFocus(QWindow* focus) {
  const QWindow* self = windowHandle();
  if (focus != nullptr && focus == self && focusOnOtherOwnWindow_) activate();
  focusOnOtherOwnWindow_ = focus != nullptr && focus != self && focus->transientParent() != self &&
                           focus->type() != Qt::Popup;
}

void Calendar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(toQColor(colour::WindowText, QApplication::palette()));
  auto draw = [&](const Line& line) {
    painter.drawLine(twips_.toPixels(line.x1), twips_.toPixels(line.y1), twips_.toPixels(line.x2),
                     twips_.toPixels(line.y2));
  };
  painter.drawRect(
      twips_.toPixels(kGridFrame.x(), kGridFrame.y(), kGridFrame.width(), kGridFrame.height())
          .adjusted(0, 0, -1, -1));
  for (int y : kGridRowLines) draw({kGridLeft, y, kGridRight, y});
  for (int x : kGridColumnLines) draw({x, kGridTop, x, kGridBottom});
  draw(kListSeparator);
}

}  // namespace pellwick
