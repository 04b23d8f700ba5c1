// Fuzz target: cardemu's frame decoder and device-call handling. The input is a byte stream of
// length-prefixed frames, served in order through one session as the server does, so the card's
// state (handles, DOS names, the link, faults) carries from frame to frame; a dropped session is
// followed by a new one, as the link reconnects.
#include <cstdlib>
#include <memory>

#include "driver/le_bytes.h"
#include "emulator/fuzz/fuzz_card.h"
#include "emulator/server/device_session.h"
#include "platform/fake/virtual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vz::VirtualClock clock;
    vz::Emulator emulator(vz::DefaultWorld(), clock);
    auto session = std::make_unique<vz::EmulatorDeviceIo>(emulator);
    std::vector<uint8_t> reply;
    vz::WireRequest request;
    size_t pos = 0;
    while (size - pos >= vz::kFrameLengthSize) {
        const uint32_t length = vz::GetU32(data + pos);
        pos += vz::kFrameLengthSize;
        // The server closes the connection on a frame it cannot take.
        if (length == 0 || length > vz::kMaxFrameBody || length > size - pos) {
            break;
        }
        const bool decoded = vz::DecodeRequest(data + pos, length, request);
        pos += length;
        if (!decoded || request.op == vz::WireOp::kControlOpen) {
            break;
        }
        if (!vz::AnswerDeviceRequest(*session, request, reply)) {
            session = std::make_unique<vz::EmulatorDeviceIo>(emulator);
            continue;
        }
        if (reply.size() < vz::kFrameLengthSize + 1 ||
            vz::GetU32(reply.data()) != reply.size() - vz::kFrameLengthSize ||
            reply.size() - vz::kFrameLengthSize > vz::kMaxFrameBody) {
            std::abort();
        }
    }
    return 0;
}
