// The progress of a long run on a console: one line, rewritten in place on standard error and
// wiped at the end, so that standard output carries only the figures.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace vz {

class ProgressLine {
  public:
    explicit ProgressLine(std::ostream& err) : err_(err) {}
    ~ProgressLine() { Show(""); }

    void Show(const std::string& text) {
        const std::string line = text.empty() ? "" : "vzsurvey: " + text;
        if (line.empty() && shownWidth_ == 0) {
            return;
        }
        err_ << '\r' << line;
        if (line.size() < shownWidth_) {
            err_ << std::string(shownWidth_ - line.size(), ' ') << '\r' << line;
        }
        err_.flush();
        shownWidth_ = line.size();
    }

  private:
    std::ostream& err_;
    size_t shownWidth_ = 0;
};

}  // namespace vz
