#pragma once
// Quistel's icon, a padlock: the window's icon and the application icon of menus and task bars.

#include <QIcon>
#include <QImage>

namespace quistel {

// The padlock drawn at `size` x `size` pixels.
QImage padlockPicture(int size);
// The padlock at the sizes title bars and task bars ask for.
QIcon padlockIcon();

}  // namespace quistel
