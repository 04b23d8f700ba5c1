// A command line written as one text, split into its arguments at blanks.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace vz {

inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

}  // namespace vz
