// fsync, or on Windows _commit (FlushFileBuffers on the file's handle).
#include "vzsurvey/walk/flush_to_disk.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vz {

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

}  // namespace vz
