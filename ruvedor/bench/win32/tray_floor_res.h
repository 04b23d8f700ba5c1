// Resource ids of the tray floor program.
#pragma once

#define IDI_FLOOR_LIT 1
#define IDI_FLOOR_DARK 2
