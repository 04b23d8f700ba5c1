// Fuzz target: the report's two inputs. The first byte chooses: a walk file read line by line,
// or a plan image's header. Whatever the bytes, the reading stays within its bounds: at most 2000
// points, 100 nodes a point and 256 frequencies a sweep, and an image size of 1 to 65535 a side.
#include <cstdlib>
#include <sstream>
#include <string>
#include <variant>

#include "vzsurvey/report/image_header.h"
#include "vzsurvey/walk/walk_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vz;
    if (size == 0) {
        return 0;
    }
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        std::istringstream in(bytes);
        const WalkReading walk = ReadWalk(in);
        bool bounded = walk.points.size() <= 2000;
        for (const WalkPoint& point : walk.points) {
            bounded = bounded && point.nodes.size() <= 100 &&
                      (!point.spectrum || point.spectrum->frequencyGhz.size() <= 256);
        }
        if (!bounded) {
            std::abort();
        }
        return 0;
    }
    const auto header = ReadImageHeader(bytes);
    if (const auto* image = std::get_if<ImageHeader>(&header)) {
        if (image->width < 1 || image->width > 65535 || image->height < 1 ||
            image->height > 65535) {
            std::abort();
        }
    }
    return 0;
}
