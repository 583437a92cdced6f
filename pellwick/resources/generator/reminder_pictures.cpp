#include "resources/generator/picture_family.h"

namespace pellwick::resources {

std::vector<Picture> reminderPictures() { return {}; }

}  // namespace pellwick::resources
