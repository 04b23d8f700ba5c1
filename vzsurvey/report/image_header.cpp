// PNG's IHDR, JPEG's start-of-frame segment and BMP's information header, each read with every
// offset checked against the bytes there are.
#include "vzsurvey/report/image_header.h"

#include <cstdint>

namespace vz {
namespace {

constexpr std::int64_t kLargestSide = 65535;
constexpr char kNotAnImage[] = "not a PNG, JPEG or BMP image";

// Bytes at `offset`, or none past the end.
class Bytes {
  public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    bool Has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint8_t At(size_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }
    std::uint32_t BigEndian(size_t offset, int count) const {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = value << 8 | At(offset + i);
        }
        return value;
    }
    std::uint32_t LittleEndian(size_t offset, int count) const {
        std::uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = value << 8 | At(offset + i);
        }
        return value;
    }
    bool StartsWith(std::string_view prefix) const {
        return bytes_.substr(0, prefix.size()) == prefix;
    }

  private:
    std::string_view bytes_;
};

std::variant<ImageHeader, std::string> Sized(ImageFormat format, std::int64_t width,
                                             std::int64_t height, const char* what) {
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
        return std::string(what) + " gives a size outside 1 to 65535 pixels a side";
    }
    return ImageHeader{format, static_cast<int>(width), static_cast<int>(height)};
}

std::variant<ImageHeader, std::string> ReadPng(const Bytes& bytes) {
    constexpr size_t kIhdr = 8;
    constexpr std::uint32_t kIhdrLength = 13;
    if (!bytes.Has(kIhdr, 16) || bytes.BigEndian(kIhdr, 4) != kIhdrLength ||
        bytes.BigEndian(kIhdr + 4, 4) != 0x49484452) {  // "IHDR"
        return std::string("PNG without its IHDR chunk");
    }
    return Sized(ImageFormat::kPng, bytes.BigEndian(kIhdr + 8, 4), bytes.BigEndian(kIhdr + 12, 4),
                 "PNG's IHDR");
}

bool IsStartOfFrame(std::uint8_t marker) {
    // SOF0..SOF15 but DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

bool StandsAlone(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8);  // TEM, RSTn, SOI
}

// The segments after SOI up to the frame header; the scan (SOS) or the end (EOI) before it means
// the file gives no size.
std::variant<ImageHeader, std::string> ReadJpeg(const Bytes& bytes) {
    size_t at = 2;
    while (bytes.Has(at, 2)) {
        if (bytes.At(at) != 0xff) {
            return std::string("JPEG with a broken segment");
        }
        const std::uint8_t marker = bytes.At(at + 1);
        if (marker == 0xff) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (StandsAlone(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xd9 || marker == 0xda || !bytes.Has(at + 2, 2)) {
            break;
        }
        const std::uint32_t length = bytes.BigEndian(at + 2, 2);
        if (IsStartOfFrame(marker)) {
            if (length < 8 || !bytes.Has(at + 2, 7)) {
                break;
            }
            return Sized(ImageFormat::kJpeg, bytes.BigEndian(at + 7, 2), bytes.BigEndian(at + 5, 2),
                         "JPEG's frame header");
        }
        if (length < 2) {
            return std::string("JPEG with a broken segment");
        }
        at += 2 + length;
    }
    return std::string("JPEG without a frame header giving its size");
}

std::variant<ImageHeader, std::string> ReadBmp(const Bytes& bytes) {
    constexpr size_t kInfo = 14;
    constexpr std::uint32_t kCoreHeader = 12;
    constexpr std::uint32_t kInfoHeader = 40;
    if (!bytes.Has(kInfo, 4)) {
        return std::string("BMP without its information header");
    }
    const std::uint32_t size = bytes.LittleEndian(kInfo, 4);
    if (size == kCoreHeader && bytes.Has(kInfo, kCoreHeader)) {
        return Sized(ImageFormat::kBmp, bytes.LittleEndian(kInfo + 4, 2),
                     bytes.LittleEndian(kInfo + 6, 2), "BMP's core header");
    }
    if (size < kInfoHeader || !bytes.Has(kInfo, kInfoHeader)) {
        return std::string("BMP without its information header");
    }
    const auto width = static_cast<std::int32_t>(bytes.LittleEndian(kInfo + 4, 4));
    const auto height = static_cast<std::int32_t>(bytes.LittleEndian(kInfo + 8, 4));
    // A negative height is a picture stored top row first.
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    return Sized(ImageFormat::kBmp, width, rows, "BMP's information header");
}

}  // namespace

std::variant<ImageHeader, std::string> ReadImageHeader(std::string_view bytes) {
    const Bytes image(bytes);
    if (image.StartsWith("\x89PNG\r\n\x1a\n")) {
        return ReadPng(image);
    }
    if (image.StartsWith("\xff\xd8")) {
        return ReadJpeg(image);
    }
    if (image.StartsWith("BM")) {
        return ReadBmp(image);
    }
    return std::string(kNotAnImage);
}

std::string_view MimeType(ImageFormat format) {
    switch (format) {
        case ImageFormat::kPng:
            return "image/png";
        case ImageFormat::kJpeg:
            return "image/jpeg";
        case ImageFormat::kBmp:
            return "image/bmp";
    }
    return "";
}

}  // namespace vz
