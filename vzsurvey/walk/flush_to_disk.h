// Making sure what a file was given is on the disk, not only in the system's cache.
#pragma once

#include <cstdio>

namespace vz {

// Flushes `file`'s buffer and asks the system to write it to the disk. Returns: true when both
// succeeded.
bool FlushToDisk(std::FILE* file);

}  // namespace vz
