// The Configuration dialog's display tables: the items of its combo boxes and the conversions
// between stored settings and the texts the combo boxes hold.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vz {

using ComboItems = std::vector<std::string>;

const ComboItems& StationTypeItems();    // "Station", "Alternate Master", "Master"
const ComboItems& MacOptimizeItems();    // "Normal", "Light"
const ComboItems& RoamConfigItems();     // "Slow", "Normal", "Fast"
const ComboItems& ChannelItems();        // "1" ... "15", for the subchannel too
const ComboItems& DomainItems();         // "0" ... "15"
const ComboItems& InactivitySecItems();  // "0", "5", ... "55"
const ComboItems& InactivityMinItems();  // "0" ... "60"

// Stored value -> text. Station types other than 0..2 read as "Station", roam configurations
// other than 0 and 1 as "Fast"; any non-zero MAC optimisation is "Normal".
const char* StationTypeText(int stored);
const char* MacOptimizeText(int stored);
const char* RoamConfigText(int stored);

// Text -> code, by exact, case-sensitive comparison; the code is also the item's index.
// Anything but "Station" and "Alternate Master" is a Master (2); anything but "Slow" and
// "Normal" is Fast (2).
int StationTypeCode(std::string_view text);
int RoamConfigCode(std::string_view text);
// The MAC optimisation as stored: 0 for "Light", 1 for anything else.
int MacOptimizeStored(std::string_view text);
// The MAC optimisation combo's index: 0 for "Normal", 1 for anything else.
int MacOptimizeIndex(std::string_view text);

// The value of a decimal text; 0 when it is not one (or does not fit).
int DecimalValue(std::string_view text);
bool IsListed(const ComboItems& items, std::string_view text);

}  // namespace vz
