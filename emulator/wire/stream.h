// Whole frames over a socket: short reads and writes looped, the length bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/socket.h"

namespace vz {

bool SendAll(SocketHandle socket, const uint8_t* data, size_t size);

enum class FrameRead {
    kOk,
    kClosed,     // the peer closed the connection between frames
    kBroken,     // closed, failed or timed out in the middle of a frame
    kMalformed,  // the length field is 0 or above kMaxFrameBody
};

// Reads one frame's body. Once its first byte has come, the rest must follow within
// `midFrameTimeoutMs` of silence (negative: wait without end).
FrameRead ReceiveFrame(SocketHandle socket, std::vector<uint8_t>& body, int midFrameTimeoutMs);

// Reads one whole frame as an answer to a request, in as few calls as the system allows: what
// has come is taken at once, up to the frame's end. The first byte may take `firstWaitMs`, each
// later part `midFrameWaitMs`. Bytes beyond the frame make it kMalformed: an answer comes alone.
FrameRead ReceiveAnswerFrame(SocketHandle socket, std::vector<uint8_t>& body, int firstWaitMs,
                             int midFrameWaitMs);

// Reads bytes up to '\n' (excluded; a '\r' before it is dropped). False at close, on failure or
// when the line grows beyond maxLength.
bool ReceiveLine(SocketHandle socket, std::string& line, size_t maxLength, std::string& pending);

}  // namespace vz
