// Replacing a file's contents so a reader sees the old file or the new one, never a part: the text
// is written to "<path>.tmp" beside it and renamed over it.
#pragma once

#include <optional>
#include <string>

namespace vz {

// Returns why it failed, or none. On failure the file is left as it was and the temporary removed.
std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& text);

}  // namespace vz
