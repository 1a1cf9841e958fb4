#include "MainWindowServices.h"

namespace kb {

MainWindowServices::~MainWindowServices() = default;

} // namespace kb
