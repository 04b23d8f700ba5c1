// Finding a file in the current directory and then along PATH, the way both programs look.
#pragma once

#include <string>

#include "platform/shell.h"

namespace vz {

// The full path of `fileName` in the current directory, else in the first PATH directory (entries
// separated by ';') that holds it; empty when none does. A '\' joins directory and name unless
// the directory ends in '\', '/' or ':'.
std::string SearchCurrentDirectoryAndPath(Shell& shell, const std::string& fileName);

}  // namespace vz
