// One device-call frame in, one answer frame out.
#include "emulator/server/device_session.h"

namespace vz {

namespace {

uint32_t WireHandle(DeviceHandle handle) {
    return handle == kInvalidDeviceHandle || handle < 0 || handle >= 0xFFFF ? kWireInvalidHandle
                                                                            : uint32_t(handle);
}

}  // namespace

bool AnswerDeviceRequest(EmulatorDeviceIo& session, WireRequest& request,
                         std::vector<uint8_t>& reply) {
    switch (request.op) {
        case WireOp::kGetSystemVersion: {
            const SystemVersion v = session.GetSystemVersion();
            reply = FrameWriter(request.op, true).U32(v.platformId).U32(v.majorVersion).Finish();
            return true;
        }
        case WireOp::kOpenDevice: {
            const DeviceHandle handle = session.OpenDevice(request.path.c_str());
            const uint32_t error = handle == kInvalidDeviceHandle ? session.LastOpenError() : 0;
            reply = FrameWriter(request.op, true).U32(WireHandle(handle)).U32(error).Finish();
            return true;
        }
        case WireOp::kCloseDevice:
            session.CloseDevice(DeviceHandle(request.handle));
            reply = FrameWriter(request.op, true).Finish();
            return true;
        case WireOp::kDefineDosDevice: {
            const bool ok =
                session.DefineDosDevice(request.flags, request.path.c_str(),
                                        request.hasTarget ? request.target.c_str() : nullptr);
            reply = FrameWriter(request.op, true).U8(ok ? 1 : 0).Finish();
            return true;
        }
        case WireOp::kIoControl: {
            const IoControlResult result =
                session.IoControl(DeviceHandle(request.handle), request.code, request.input.data(),
                                  uint32_t(request.input.size()), request.output.data(),
                                  uint32_t(request.output.size()));
            if (session.TakeDropped()) {
                return false;
            }
            FrameWriter frame(request.op, true);
            frame.U8(result.succeeded ? 1 : 0).U32(result.lastError);
            frame.U16(uint16_t(request.output.size()))
                .Bytes(request.output.data(), request.output.size());
            reply = frame.Finish();
            return true;
        }
        case WireOp::kControlOpen:
            break;
    }
    return false;
}

}  // namespace vz
