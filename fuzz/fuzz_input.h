// The fuzzer's bytes taken a piece at a time: numbers, choices and byte runs, zero once used up.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vz {

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    size_t Remaining() const { return size_ - pos_; }

    uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t U16() { return uint16_t(U8() | U8() << 8); }
    uint32_t U32() { return uint32_t(U16()) | uint32_t(U16()) << 16; }
    // One of `count` choices (count > 0).
    size_t Pick(size_t count) { return U8() % count; }
    bool Flag() { return (U8() & 1) != 0; }

    // Up to `max` bytes into `out`, as many as the input says (and has); returns the count.
    size_t Bytes(uint8_t* out, size_t max) {
        const size_t n = std::min<size_t>({U16() % (max + 1), max, Remaining()});
        if (n > 0) {
            std::memcpy(out, data_ + pos_, n);
        }
        pos_ += n;
        return n;
    }
    // A text of at most `max` bytes, which may hold any byte, NUL included.
    std::string Text(size_t max) {
        std::string text(max, '\0');
        text.resize(Bytes(reinterpret_cast<uint8_t*>(text.data()), max));
        return text;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace vz
