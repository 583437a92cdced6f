#include "window/window_icon.h"

#include <QPainter>
#include <QPixmap>

namespace quistel {

QImage padlockPicture(int size) {
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);  // drawn on a 32 x 32 grid

  // Shackle, body, keyhole.
  painter.setPen(QPen(QColor(0x50, 0x50, 0x60), 4));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(8, 3, 16, 18), 0, 180 * 16);
  painter.drawLine(QPointF(8, 12), QPointF(8, 16));
  painter.drawLine(QPointF(24, 12), QPointF(24, 16));

  painter.setPen(QPen(QColor(0x20, 0x30, 0x80), 1.5));
  painter.setBrush(QColor(0x80, 0x80, 0xFF));
  painter.drawRoundedRect(QRectF(4, 14, 24, 16), 3, 3);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x20, 0x30, 0x80));
  painter.drawEllipse(QRectF(13.5, 18, 5, 5));
  painter.drawRect(QRectF(15, 21, 2, 5));
  painter.end();
  return picture;
}

QIcon padlockIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(padlockPicture(size)));
  }
  return icon;
}

}  // namespace quistel
