#include "platform/file_title_record.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace pellwick {
namespace {

// Two titles of 64 KiB each, their stored form and what was written, with room to spare:
// anything larger is not ours.
constexpr qint64 kLargestRecord = 1024 * 1024;

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QJsonValue& value) { return value.toString().toUtf8().toStdString(); }

}  // namespace

FileTitleRecord::FileTitleRecord(const QString& folder)
    : path_(!folder.isEmpty() && QDir::isAbsolutePath(folder)
                ? folder + QStringLiteral("/pellwick-title.json")
                : QString()) {}

std::optional<RewrittenTitle> FileTitleRecord::load() {
  if (path_.isEmpty()) return std::nullopt;
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestRecord) return std::nullopt;
  const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
  bool isNumber = false;
  const WindowId window = record.value("window").toString().toULongLong(&isNumber);
  if (!isNumber || window == 0 || !record.value("title").isString() ||
      !record.value("stored").isString() || !record.value("written").isString()) {
    return std::nullopt;
  }
  RewrittenTitle title;
  title.window = window;
  title.own.text = toUtf8(record.value("title"));
  title.own.stored =
      QByteArray::fromBase64(record.value("stored").toString().toLatin1()).toStdString();
  title.written = toUtf8(record.value("written"));
  return title;
}

void FileTitleRecord::keep(const RewrittenTitle& title) {
  if (path_.isEmpty()) return;
  const QByteArray stored(title.own.stored.data(), static_cast<qsizetype>(title.own.stored.size()));
  const QJsonObject record{
      {"window", QString::number(title.window)},
      {"title", fromUtf8(title.own.text)},
      {"stored", QString::fromLatin1(stored.toBase64())},
      {"written", fromUtf8(title.written)},
  };
  QSaveFile file(path_);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(QJsonDocument(record).toJson(QJsonDocument::Compact));
    file.commit();
  }
}

void FileTitleRecord::clear() {
  if (!path_.isEmpty()) QFile::remove(path_);
}

}  // namespace pellwick
