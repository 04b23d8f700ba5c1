// Frame encoding and bounded decoding for the emulator link.
#include "emulator/wire/frame.h"

#include <cstring>

#include "driver/le_bytes.h"

namespace vz {

FrameWriter::FrameWriter(WireOp op, bool reply) {
    bytes_.reserve(64);
    bytes_.resize(kFrameLengthSize);
    bytes_.push_back(uint8_t(op) | (reply ? kWireReplyBit : 0));
}

FrameWriter& FrameWriter::U8(uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

FrameWriter& FrameWriter::U16(uint16_t v) {
    uint8_t b[2];
    PutU16(b, v);
    bytes_.insert(bytes_.end(), b, b + 2);
    return *this;
}

FrameWriter& FrameWriter::U32(uint32_t v) {
    uint8_t b[4];
    PutU32(b, v);
    bytes_.insert(bytes_.end(), b, b + 4);
    return *this;
}

FrameWriter& FrameWriter::Bytes(const uint8_t* data, size_t size) {
    if (size > 0) {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    return *this;
}

FrameWriter& FrameWriter::Text(const char* text, size_t size) {
    U16(uint16_t(size));
    return Bytes(reinterpret_cast<const uint8_t*>(text), size);
}

const std::vector<uint8_t>& FrameWriter::Finish() {
    PutU32(bytes_.data(), uint32_t(bytes_.size() - kFrameLengthSize));
    return bytes_;
}

uint8_t FrameReader::U8() {
    const uint8_t* p = Bytes(1);
    return p ? p[0] : 0;
}

uint16_t FrameReader::U16() {
    const uint8_t* p = Bytes(2);
    return p ? GetU16(p) : 0;
}

uint32_t FrameReader::U32() {
    const uint8_t* p = Bytes(4);
    return p ? GetU32(p) : 0;
}

const uint8_t* FrameReader::Bytes(size_t size) {
    if (!ok_ || size > size_ - pos_) {
        ok_ = false;
        return nullptr;
    }
    const uint8_t* p = body_ + pos_;
    pos_ += size;
    return p;
}

bool FrameReader::Text(size_t maxSize, std::string& text) {
    const uint16_t size = U16();
    if (!ok_ || size > maxSize) {
        ok_ = false;
        return false;
    }
    const uint8_t* p = Bytes(size);
    if (!p) {
        return false;
    }
    // A NUL inside would cut the text short on the other side; such a text is refused.
    if (std::memchr(p, 0, size) != nullptr) {
        ok_ = false;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(p), size);
    return true;
}

bool DecodeRequest(const uint8_t* body, size_t size, WireRequest& request) {
    if (size == 0 || size > kMaxFrameBody) {
        return false;
    }
    FrameReader in(body, size);
    request = WireRequest{};
    request.op = WireOp(in.U8());
    switch (request.op) {
        case WireOp::kGetSystemVersion:
            break;
        case WireOp::kOpenDevice:
            in.Text(kMaxWireText, request.path);
            break;
        case WireOp::kCloseDevice:
            request.handle = in.U32();
            break;
        case WireOp::kDefineDosDevice: {
            request.flags = in.U32();
            in.Text(kMaxWireText, request.path);
            const uint8_t hasTarget = in.U8();
            if (hasTarget > 1) {
                return false;
            }
            request.hasTarget = hasTarget == 1;
            if (request.hasTarget) {
                in.Text(kMaxWireText, request.target);
            }
            break;
        }
        case WireOp::kIoControl: {
            request.handle = in.U32();
            request.code = in.U32();
            const uint16_t inSize = in.U16();
            if (inSize > kMaxWireInput) {
                return false;
            }
            const uint8_t* input = in.Bytes(inSize);
            const uint16_t outSize = in.U16();
            if (outSize > kMaxWireOutput) {
                return false;
            }
            const uint8_t* output = in.Bytes(outSize);
            if (!in.Ok()) {
                return false;
            }
            request.input.assign(input, input + inSize);
            request.output.assign(output, output + outSize);
            break;
        }
        case WireOp::kControlOpen: {
            const uint8_t* magic = in.Bytes(sizeof kControlMagic - 1);
            if (!magic || std::memcmp(magic, kControlMagic, sizeof kControlMagic - 1) != 0) {
                return false;
            }
            break;
        }
        default:
            return false;
    }
    return in.Complete();
}

}  // namespace vz
