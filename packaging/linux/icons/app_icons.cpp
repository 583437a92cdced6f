// Draws the application icons of both programs:
//   app_icons FOLDER PELLWICK_ICON_NAME QUISTEL_ICON_NAME
// writes FOLDER/<n>x<n>/apps/<name>.png (a hicolor icon theme folder) for every size menus and
// task bars ask for;
//   app_icons --ico PELLWICK_ICO QUISTEL_ICO
// writes the same pictures, 16 to 256 pixels, into one Windows icon file per program.

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>
#include <functional>

#include "window/window_icon.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Pellwick's icon: a calendar page with today's cell marked, in the colours of its day pictures.
QImage calendarPicture(int size) {
  const QColor ink(0, 51, 153);
  const QColor light(153, 204, 255);
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);  // drawn on a 32 x 32 grid

  QPainterPath page;
  page.addRoundedRect(QRectF(2, 4, 28, 26), 3, 3);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawPath(page);
  QPainterPath header;
  header.addRect(QRectF(2, 4, 28, 8));
  painter.setBrush(ink);
  painter.drawPath(page.intersected(header));
  painter.setPen(QPen(ink, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(page);

  painter.setPen(QPen(ink, 1));
  painter.setBrush(light);
  for (double x : {8.5, 21.0}) painter.drawRoundedRect(QRectF(x, 1.5, 2.5, 6), 1, 1);

  constexpr int kColumns = 4, kRows = 3;
  painter.setPen(Qt::NoPen);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const bool today = row == 1 && column == 2;
      painter.setBrush(today ? ink : light);
      painter.drawRect(QRectF(5 + column * 6, 14.5 + row * 5, 4.5, 3.5));
    }
  }
  painter.end();
  return picture;
}

bool save(const QImage& picture, const QString& folder, const QString& name) {
  const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(picture.width());
  if (!QDir().mkpath(apps) || !picture.save(apps + '/' + name + ".png")) {
    std::fprintf(stderr, "app_icons: cannot write %s/%s.png\n", qPrintable(apps), qPrintable(name));
    return false;
  }
  return true;
}

// An .ico file with one PNG image per size, as Windows reads them since Vista.
bool saveIco(const std::function<QImage(int)>& draw, const QString& path) {
  constexpr int kIcoSizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
  constexpr int kCount = std::size(kIcoSizes);
  constexpr quint32 kHeaderSize = 6, kEntrySize = 16;
  QByteArray file;
  QDataStream out(&file, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint16(0) << quint16(1) << quint16(kCount);
  QByteArray images;
  for (int size : kIcoSizes) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!draw(size).save(&buffer, "PNG")) return false;
    const quint8 side = size == 256 ? 0 : quint8(size);  // 0 stands for 256
    out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
        << quint32(png.size()) << quint32(kHeaderSize + kCount * kEntrySize + images.size());
    images += png;
  }
  file += images;
  QFile ico(path);
  if (!ico.open(QIODevice::WriteOnly) || ico.write(file) != file.size() || !ico.flush()) {
    std::fprintf(stderr, "app_icons: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 4 && std::strcmp(argv[1], "--ico") == 0) {
    return saveIco(calendarPicture, QString::fromLocal8Bit(argv[2])) &&
                   saveIco(quistel::padlockPicture, QString::fromLocal8Bit(argv[3]))
               ? 0
               : 1;
  }
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: app_icons FOLDER PELLWICK_ICON_NAME QUISTEL_ICON_NAME\n"
                 "       app_icons --ico PELLWICK_ICO QUISTEL_ICO\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int size : kSizes) {
    if (!save(calendarPicture(size), folder, QString::fromLocal8Bit(argv[2])) ||
        !save(quistel::padlockPicture(size), folder, QString::fromLocal8Bit(argv[3]))) {
      return 1;
    }
  }
  return 0;
}
