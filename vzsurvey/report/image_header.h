// The size of a floor plan, from its image file's header alone: PNG, JPEG or BMP.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace vz {

enum class ImageFormat { kPng, kJpeg, kBmp };

struct ImageHeader {
    ImageFormat format = ImageFormat::kPng;
    int width = 0;
    int height = 0;
    bool operator==(const ImageHeader&) const = default;
};

// The format and size `bytes` start with, or why they are not a PNG, JPEG or BMP image of 1 to
// 65535 pixels a side. Reads only within `bytes`, whatever their header claims.
std::variant<ImageHeader, std::string> ReadImageHeader(std::string_view bytes);

// "image/png" and so on, for a data URI.
std::string_view MimeType(ImageFormat format);

}  // namespace vz
