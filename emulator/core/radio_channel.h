// The channel of the card's cell: frames on the air one after another, retried until through.
#pragma once

#include <cstdint>

#include "emulator/core/random.h"

namespace vz {

// How one frame fared on the channel.
struct SentFrame {
    double endMs = 0.0;  // when its last try left the air
    bool delivered = false;
};

// The frames the card sends and hears share one channel: a frame waits until the frames before
// it are off the air, and each try occupies the channel for its airtime stretched by the
// background load, airtime / (1 - load), the share the stations' own traffic leaves it.
class RadioChannel {
  public:
    // Sends a frame that is ready at `readyMs`; a try is lost with `frameError`, and after
    // `retries` more lost tries the frame is given up.
    SentFrame Send(double readyMs, double airtimeMs, double load, double frameError,
                   uint32_t retries, EmulatorRandom& random);
    void Clear() { busyUntilMs_ = 0.0; }

  private:
    double busyUntilMs_ = 0.0;
};

}  // namespace vz
