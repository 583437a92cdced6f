// Draws every picture of Pellwick and writes it into the folder given as the only argument.
// The pictures in ../pictures are this program's output; regenerate them with the target
// pellwick_pictures.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include "resources/generator/picture_family.h"

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  std::vector<pellwick::resources::Picture> pictures = pellwick::resources::dayPictures();
  for (auto& picture : pellwick::resources::reminderPictures()) pictures.push_back(picture);
  for (const auto& picture : pictures) {
    QFile out(folder.filePath(QString::fromStdString(picture.fileName)));
    const auto size = static_cast<qint64>(picture.file.size());
    if (!QFileInfo(out).dir().mkpath(".") || !out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(picture.file.data()), size) != size) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
      return 1;
    }
  }
  return 0;
}
