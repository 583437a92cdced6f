#pragma once
// Where Pellwick takes the current local date and time from; tests pass their own.

#include <QDateTime>
#include <functional>

namespace pellwick {

using Clock = std::function<QDateTime()>;

}  // namespace pellwick
