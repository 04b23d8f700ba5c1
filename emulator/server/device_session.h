// Answering one device-call frame through a client's emulator session.
#pragma once

#include <vector>

#include "emulator/core/emulator_device_io.h"
#include "emulator/wire/frame.h"

namespace vz {

// Fills `reply` with the answer frame. False when the connection must go away unanswered
// (an injected drop, or drop-clients).
bool AnswerDeviceRequest(EmulatorDeviceIo& session, WireRequest& request,
                         std::vector<uint8_t>& reply);

}  // namespace vz
