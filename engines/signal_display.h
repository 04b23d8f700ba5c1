// How both survey dialogs show a received signal: the rounded mean, up to the next ten percent.
#pragma once

#include <cstdint>

namespace vz {

// A signal percent taken from a reply, kept within 0..100 whatever the table gave.
int BoundedSignal(int percent);

// 10 x trunc(round(sum / count) x 0.1 + 0.99), at most 100; 0 when there were no samples.
int ShownSignalPercent(int64_t sum, int64_t count);

}  // namespace vz
