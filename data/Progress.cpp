#include "Progress.h"

namespace kb {

Progress::~Progress() = default;

} // namespace kb
