#pragma once
// Pellwick's built-in pictures. Each comes with all its sizes: the classic images first,
// then sharp renderings for trays of any height and for scaled screens.

#include <QString>

namespace pellwick {

// The resource path of the built-in picture `fileName` (e.g. "day7.ico") with all its sizes.
inline QString builtInPicturePath(const QString& fileName) {
  return QStringLiteral(":/pictures/all_sizes/") + fileName;
}

}  // namespace pellwick
