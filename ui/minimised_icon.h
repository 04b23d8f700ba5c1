// The picture a minimised dialog shows: its icon, centred in the client area.
#pragma once

#include "ui/dialog_host.h"

namespace vz {

// Draws the icon centred while the window is minimised; does nothing while it is open.
void PaintIconWhileMinimised(DialogHost& host, int iconResourceId);

}  // namespace vz
