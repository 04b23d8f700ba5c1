// The signal display rule shared by the site survey and the directed link test.
#include "engines/signal_display.h"

#include <algorithm>

namespace vz {

int BoundedSignal(int percent) {
    return std::clamp(percent, 0, 100);
}

int ShownSignalPercent(int64_t sum, int64_t count) {
    if (count <= 0) {
        return 0;
    }
    const auto average = static_cast<int64_t>(double(sum) / double(count) + 0.5);
    const auto percent = 10 * static_cast<int64_t>(double(average) * 0.1 + 0.99);
    return static_cast<int>(std::clamp<int64_t>(percent, 0, 100));
}

}  // namespace vz
