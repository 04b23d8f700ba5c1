// Sending one frame on the cell's shared channel, try after try.
#include "emulator/core/radio_channel.h"

#include <algorithm>

namespace vz {

SentFrame RadioChannel::Send(double readyMs, double airtimeMs, double load, double frameError,
                             uint32_t retries, EmulatorRandom& random) {
    SentFrame frame;
    double at = std::max(readyMs, busyUntilMs_);
    const double tryMs = airtimeMs / (1.0 - load);
    for (uint32_t attempt = 0; attempt <= retries && !frame.delivered; ++attempt) {
        at += tryMs;
        frame.delivered = !random.Chance(frameError);
    }
    busyUntilMs_ = at;
    frame.endMs = at;
    return frame;
}

}  // namespace vz
