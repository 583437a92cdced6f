#include "resources/generator/picture_family.h"

namespace pellwick::resources {

std::vector<Picture> dayPictures() { return {}; }

}  // namespace pellwick::resources
