#pragma once
// The window's own 32 x 32 icon: a padlock.

#include <QIcon>

namespace quistel {

QIcon WindowIcon();

}  // namespace quistel
