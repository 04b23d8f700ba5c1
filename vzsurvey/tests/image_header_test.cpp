// The plan's size from its header, and the headers that give none.
#include <gtest/gtest.h>

#include "vzsurvey/report/image_header.h"

namespace vz {
namespace {

using namespace std::string_literals;

const std::string kPng = "\x89PNG\r\n\x1a\n"s + "\0\0\0\x0dIHDR"s;
const std::string kJpegFrame = "\xff\xc0\0\x11\x08\x01\xe0\x02\x80"s;  // 640 by 480
const std::string kBmp = "BM"s + std::string(12, '\0');

std::string Png(const std::string& width, const std::string& height) {
    return kPng + width + height + "\x08\x02\0\0\0"s;
}

TEST(ImageHeader, SizesAreReadFromEachFormatsHeader) {
    const std::pair<std::string, ImageHeader> kCases[] = {
        {Png("\0\0\x02\x80"s, "\0\0\x01\xe0"s), {ImageFormat::kPng, 640, 480}},
        {"\xff\xd8\xff\xe0\0\x04\0\0"s + kJpegFrame, {ImageFormat::kJpeg, 640, 480}},
        // fill bytes, a restart marker, a Huffman table (C4, not a frame) and a progressive frame
        {"\xff\xd8\xff\xff\xd0\xff\xc4\0\x05\x01\x02\x03\xff\xc2\0\x11\x08\0\x02\0\x03"s,
         {ImageFormat::kJpeg, 3, 2}},
        {kBmp + "\x28\0\0\0\x80\x02\0\0\x20\xfe\xff\xff"s + std::string(28, '\0'),
         {ImageFormat::kBmp, 640, 480}},  // a negative height: stored top row first
        {kBmp + "\x0c\0\0\0\x40\x01\xc8\0\x01\0\x18\0"s, {ImageFormat::kBmp, 320, 200}},
    };
    for (const auto& [bytes, header] : kCases) {
        const auto read = ReadImageHeader(bytes);
        ASSERT_TRUE(std::holds_alternative<ImageHeader>(read)) << std::get<std::string>(read);
        EXPECT_EQ(std::get<ImageHeader>(read), header);
    }
}

TEST(ImageHeader, MalformedHeadersAreRefusedWithTheirReason) {
    const std::pair<std::string, std::string> kCases[] = {
        {"", "not a PNG, JPEG or BMP image"},
        {"GIF89a\x10\0\x10\0"s, "not a PNG, JPEG or BMP image"},
        {kPng.substr(0, 12), "PNG without its IHDR chunk"},
        {Png("\0\0\0\0"s, "\0\0\x01\xe0"s),
         "PNG's IHDR gives a size outside 1 to 65535 pixels a side"},
        {Png("\0\x01\0\0"s, "\0\0\x01\xe0"s),
         "PNG's IHDR gives a size outside 1 to 65535 pixels a side"},
        {"\xff\xd8\xff\xda\0\x04\0\0"s + kJpegFrame, "JPEG without a frame header giving its size"},
        {"\xff\xd8\xff\xe0\xff\xff"s + kJpegFrame, "JPEG without a frame header giving its size"},
        {"\xff\xd8\xff\xe0\0\x01"s + kJpegFrame, "JPEG with a broken segment"},
        {"\xff\xd8\x00"s + kJpegFrame, "JPEG with a broken segment"},
        {"\xff\xd8"s + kJpegFrame.substr(0, 7), "JPEG without a frame header giving its size"},
        {"\xff\xd8\xff\xc0\0\x11\x08\0\0\x02\x80"s,
         "JPEG's frame header gives a size outside 1 to 65535 pixels a side"},
        {kBmp + "\x28\0\0\0\x80\x02"s, "BMP without its information header"},
        {kBmp + "\x28\0\0\0\x80\x02\0\0\0\0\0\x80"s + std::string(28, '\0'),
         "BMP's information header gives a size outside 1 to 65535 pixels a side"},
    };
    for (const auto& [bytes, reason] : kCases) {
        const auto read = ReadImageHeader(bytes);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << reason;
        EXPECT_EQ(std::get<std::string>(read), reason);
    }
}

}  // namespace
}  // namespace vz
