// Looping socket reads and writes into whole frames and lines.
#include "emulator/wire/stream.h"

#include <string>

#include "driver/le_bytes.h"
#include "emulator/wire/frame.h"

namespace vz {

namespace {

// 1 all read, 0 the peer closed before the first byte, -1 failure or a close part-way.
int ReceiveAll(SocketHandle socket, uint8_t* data, size_t size, int timeoutMs, bool midFrame) {
    size_t done = 0;
    while (done < size) {
        if ((midFrame || done > 0) && timeoutMs >= 0 && WaitReadable(socket, timeoutMs) != 1) {
            return -1;
        }
        const long n = ReceiveSome(socket, data + done, size - done);
        if (n <= 0) {
            return (n == 0 && done == 0 && !midFrame) ? 0 : -1;
        }
        done += size_t(n);
    }
    return 1;
}

// The body length a frame's header gives; 0 when it lies outside 1..kMaxFrameBody.
uint32_t BodyLength(const uint8_t* header) {
    const uint32_t size = GetU32(header);
    return size > kMaxFrameBody ? 0 : size;
}

}  // namespace

bool SendAll(SocketHandle socket, const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const long n = SendSome(socket, data + done, size - done);
        if (n <= 0) {
            return false;
        }
        done += size_t(n);
    }
    return true;
}

FrameRead ReceiveFrame(SocketHandle socket, std::vector<uint8_t>& body, int midFrameTimeoutMs) {
    uint8_t header[kFrameLengthSize];
    const int got = ReceiveAll(socket, header, sizeof header, midFrameTimeoutMs, false);
    if (got == 0) {
        return FrameRead::kClosed;
    }
    if (got < 0) {
        return FrameRead::kBroken;
    }
    const uint32_t size = BodyLength(header);
    if (size == 0) {
        return FrameRead::kMalformed;
    }
    body.resize(size);
    if (ReceiveAll(socket, body.data(), size, midFrameTimeoutMs, true) != 1) {
        return FrameRead::kBroken;
    }
    return FrameRead::kOk;
}

FrameRead ReceiveAnswerFrame(SocketHandle socket, std::vector<uint8_t>& body, int firstWaitMs,
                             int midFrameWaitMs) {
    // Until the length is known as much is asked for as the largest frame holds; then the rest.
    body.resize(kFrameLengthSize + kMaxFrameBody);
    size_t have = 0;
    size_t frameEnd = body.size();
    while (have < kFrameLengthSize || have < frameEnd) {
        const long n = ReceiveWithin(socket, body.data() + have, body.size() - have,
                                     have == 0 ? firstWaitMs : midFrameWaitMs);
        if (n <= 0) {
            return n == 0 && have == 0 ? FrameRead::kClosed : FrameRead::kBroken;
        }
        const bool headerCame = have < kFrameLengthSize && have + size_t(n) >= kFrameLengthSize;
        have += size_t(n);
        if (headerCame) {
            const uint32_t size = BodyLength(body.data());
            if (size == 0) {
                return FrameRead::kMalformed;
            }
            frameEnd = kFrameLengthSize + size;
            if (have > frameEnd) {
                return FrameRead::kMalformed;
            }
            body.resize(frameEnd);
        }
    }
    body.erase(body.begin(), body.begin() + kFrameLengthSize);
    return FrameRead::kOk;
}

bool ReceiveLine(SocketHandle socket, std::string& line, size_t maxLength, std::string& pending) {
    for (;;) {
        const size_t newline = pending.find('\n');
        if (newline != std::string::npos) {
            line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line.size() <= maxLength;
        }
        if (pending.size() > maxLength) {
            return false;
        }
        uint8_t chunk[512];
        const long n = ReceiveSome(socket, chunk, sizeof chunk);
        if (n <= 0) {
            return false;
        }
        pending.append(reinterpret_cast<const char*>(chunk), size_t(n));
    }
}

}  // namespace vz
