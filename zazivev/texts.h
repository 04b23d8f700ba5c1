// Every text the Site Survey & Configuration Tool writes into its windows, in one place.
#pragma once

#include "zazivev/res/strings.h"

namespace vz::texts {

// The status report of the start-up check, one piece per step.
inline constexpr char kReportNoDriver[] =
    "\n\n%s.  Verify that the driver is installed and configured properly.  ";
inline constexpr char kReportProtocolHint[] =
    "Also verify that the %sAPI protocol has been installed.";
inline constexpr char kReportDriverAccessed[] = "\n\n%s %s accessed successfully.";
inline constexpr char kReportNodeLine[] = "\n\nNode address:  %s  ROM version:  %s/%d%c";

// The refused driver version.
inline constexpr char kDriverRefusedTitle[] = "Driver Initialization";
inline constexpr char kDriverRefusedText[] =
    "Incorrect Driver Version %s\nThe Site Survey and Configuration Tool will only run with "
    "Version 1.2 or later.";

inline constexpr char kChangeDomainPrompt[] = "Update to Domain %d?";

// Configuration.

// The Master list.

// The site survey and the directed link test.

// Snoop.
inline constexpr char kSnoopFrequencyLabel[] = "%1.3f";

}  // namespace vz::texts
