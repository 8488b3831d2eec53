#include "trayctl/trayservice.h"

namespace pinlib6 {

TrayService::~TrayService() = default;

bool TrayService::setIconMenu(quintptr, int, QMenu *)
{
    return false;
}

} // namespace pinlib6
