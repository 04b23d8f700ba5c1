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
// The station types, MAC optimisation modes and roam configurations, as the combo boxes list them.
inline constexpr char kStationTypeStation[] = "Station";
inline constexpr char kStationTypeAlternateMaster[] = "Alternate Master";
inline constexpr char kStationTypeMaster[] = "Master";
inline constexpr char kMacOptimizeNormal[] = "Normal";
inline constexpr char kMacOptimizeLight[] = "Light";
inline constexpr char kRoamConfigSlow[] = "Slow";
inline constexpr char kRoamConfigNormal[] = "Normal";
inline constexpr char kRoamConfigFast[] = "Fast";
inline constexpr char kDefaultMasterName[] = "MASTER";
// Get Settings shows the whole country code byte.
inline constexpr char kCountryCodeFormat[] = "%x";

// The Master list: its columns, and the numbers in its rows and in "Searching Domain:".
inline constexpr char kMastersColumnAddress[] = "Address";
inline constexpr char kMastersColumnDomain[] = "Domain";
inline constexpr char kMastersColumnChannel[] = "Ch/Sub";
inline constexpr char kMastersColumnName[] = "Name";
inline constexpr char kMastersNumber[] = "%d";
inline constexpr char kMastersChannel[] = "%d/%d";

// The site survey and the directed link test.
inline constexpr char kSurveyHeard[] = "(*)";
inline constexpr char kSurveyNotHeard[] = "( )";
inline constexpr char kSignalPercent[] = "%d %%";
inline constexpr char kLinkMasterLabel[] = "Master Name";
inline constexpr char kLinkDeviation[] = "%.1f";

// The measuring windows' system menu.
inline constexpr char kCopyFigures[] = "Copy Figures";

}  // namespace vz::texts
