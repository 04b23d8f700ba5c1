// The frames that carry device calls between the emulator link and cardemu: encoding and
// bounded decoding (see PROTOCOL.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vz {

enum class WireOp : uint8_t {
    kGetSystemVersion = 0x01,
    kOpenDevice = 0x02,
    kCloseDevice = 0x03,
    kDefineDosDevice = 0x04,
    kIoControl = 0x05,
    kControlOpen = 0x7F,  // first frame only: the connection carries control lines from then on
};
constexpr uint8_t kWireReplyBit = 0x80;

constexpr size_t kFrameLengthSize = 4;
constexpr uint32_t kMaxFrameBody = 4096;
constexpr size_t kMaxWireText = 260;
constexpr size_t kMaxWireInput = 64;
constexpr size_t kMaxWireOutput = 2016;
constexpr uint32_t kWireInvalidHandle = 0xFFFFFFFFu;
constexpr char kControlMagic[] = "VZCTL1";

// Builds one frame: the u32 body length first, patched by Finish().
class FrameWriter {
  public:
    explicit FrameWriter(WireOp op, bool reply = false);
    FrameWriter& U8(uint8_t v);
    FrameWriter& U16(uint16_t v);
    FrameWriter& U32(uint32_t v);
    FrameWriter& Bytes(const uint8_t* data, size_t size);
    // A u16 length and the text's bytes, without a terminator.
    FrameWriter& Text(const char* text, size_t size);
    const std::vector<uint8_t>& Finish();

  private:
    std::vector<uint8_t> bytes_;
};

// Reads a frame body; every read is bounded, and a read past the end marks the frame bad.
class FrameReader {
  public:
    FrameReader(const uint8_t* body, size_t size) : body_(body), size_(size) {}
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    const uint8_t* Bytes(size_t size);
    bool Text(size_t maxSize, std::string& text);
    // True when every read stayed inside the body and nothing is left over.
    bool Complete() const { return ok_ && pos_ == size_; }
    bool Ok() const { return ok_; }

  private:
    const uint8_t* body_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

struct WireRequest {
    WireOp op = WireOp::kGetSystemVersion;
    std::string path;  // kOpenDevice; the DOS name for kDefineDosDevice
    std::string target;
    bool hasTarget = false;
    uint32_t flags = 0;
    uint32_t handle = 0;
    uint32_t code = 0;
    std::vector<uint8_t> input;
    std::vector<uint8_t> output;
};

// False for an unknown op, a field out of bounds or bytes left over.
bool DecodeRequest(const uint8_t* body, size_t size, WireRequest& request);

}  // namespace vz
