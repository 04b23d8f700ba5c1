// Every text the Status Monitor shows, besides its string table, in one place.
#pragma once

#include "ruvedor/res/strings.h"

namespace vz::monitor_texts {

// Tray tips; the shell's field takes 63 characters of them.
inline constexpr char kTipSynchronised[] = "Coverage: Normal.  Master Name: %s";
inline constexpr char kTipOutOfRange[] = "Out of Range of Master";

// The information window's text, built piece by piece. The static form (Zazivev is running)
// and the live one differ in the node line: "ROM version %s" against "ROM version:  %s".
inline constexpr char kInfoStatic[] = "Utility is running, the data is static.  ";
inline constexpr char kInfoDriverAccessed[] = "%s driver version %s accessed successfully.";
inline constexpr char kInfoNodeStatic[] = "\n\nNode address:  %s  ROM version %s/%d%c";
inline constexpr char kInfoNodeLive[] = "\n\nNode address:  %s  ROM version:  %s/%d%c";

// The start-up error box when the driver cannot be opened.
inline constexpr char kErrorNoDriver95[] =
    "Unable to access %s Windows 95 driver. Verify that the driver is installed and configured "
    "properly.";
inline constexpr char kErrorProtocolHint[] =
    "\nAlso verify that the %sAPI protocol has been installed.";
inline constexpr char kErrorNoDriverNt[] =
    "\n\nUnable to access %s Windows NT driver. Verify that the driver is installed and "
    "configured properly.";
inline constexpr char kErrorNotLoaded[] = "\n\nThe %s will not be loaded";

}  // namespace vz::monitor_texts
