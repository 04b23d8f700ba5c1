// The temporary file and the rename. std::filesystem::rename replaces an existing target on
// Windows too (MinGW's library moves with MOVEFILE_REPLACE_EXISTING).
#include "vzsurvey/monitoring/replace_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace vz {

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& text) {
    const std::filesystem::path target(path);
    const std::filesystem::path temporary(path + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary.string();
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot replace " + path + ": " + error.message();
    }
    return std::nullopt;
}

}  // namespace vz
