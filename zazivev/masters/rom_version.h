// Which ROM versions of the card can run the directed link test and the site survey on a Master
// picked from the Master list.
#pragma once

#include <string_view>

namespace vz {

// The rule on the card's version text ("V1.49b ", say): allowed from minor version 49 on (a
// single-digit minor counts tenfold, so V1.5 is 50), from major version 2 on, and for V1.47a.
// Any text is read within its bounds; a part without digits counts as 0, and a part with more
// digits than any version has counts as very large.
bool LinkTestsAllowed(std::string_view version);

}  // namespace vz
