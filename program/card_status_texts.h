// The sentences both programs write about the card's Master, worded alike in the tool's report
// and the monitor's information window.
#pragma once

namespace vz::card_status_texts {

inline constexpr char kSynchronized[] = "\n\nSynchronized to %s  %s";
inline constexpr char kNoMaster[] =
    "\n\nCould not find a Master to synchronize with.  Verify that your Domain and Security ID "
    "match those of a Master.";

}  // namespace vz::card_status_texts
