// The current-directory-then-PATH search.
#include "platform/path_search.h"

namespace vz {

namespace {

std::string Join(const std::string& directory, const std::string& fileName) {
    const char last = directory.back();
    return last == '\\' || last == '/' || last == ':' ? directory + fileName
                                                      : directory + '\\' + fileName;
}

}  // namespace

std::string SearchCurrentDirectoryAndPath(Shell& shell, const std::string& fileName) {
    const std::string current = shell.CurrentDirectory();
    if (!current.empty()) {
        const std::string path = Join(current, fileName);
        if (shell.FileExists(path)) {
            return path;
        }
    }
    const std::string pathVariable = shell.EnvironmentVariable("PATH");
    size_t start = 0;
    while (start <= pathVariable.size()) {
        size_t end = pathVariable.find(';', start);
        if (end == std::string::npos) {
            end = pathVariable.size();
        }
        const std::string directory = pathVariable.substr(start, end - start);
        if (!directory.empty()) {
            const std::string path = Join(directory, fileName);
            if (shell.FileExists(path)) {
                return path;
            }
        }
        start = end + 1;
    }
    return {};
}

}  // namespace vz
