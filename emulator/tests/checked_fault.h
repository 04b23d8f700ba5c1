// A fault set on the emulator that must be taken and must fire before the test ends, so that a
// mistyped or never-reached fault fails the test instead of letting it prove nothing.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "emulator/core/emulator.h"
#include "emulator/core/faults.h"

namespace vz {

class CheckedFault {
  public:
    // `line` is a control line, "fault fail cmd=3 status=-9" say.
    CheckedFault(Emulator& emulator, std::string line)
        : emulator_(emulator), line_(std::move(line)) {
        // The kind is the word after "fault".
        const size_t start = line_.find(' ') + 1;
        const std::string word = line_.substr(start, line_.find(' ', start) - start);
        for (size_t kind = 0; kind < kFaultKindCount; ++kind) {
            if (word == FaultKindName(static_cast<FaultKind>(kind))) {
                kind_ = static_cast<FaultKind>(kind);
                known_ = true;
            }
        }
        firedBefore_ = known_ ? emulator_.Faults().Fired(kind_) : 0;
        EXPECT_TRUE(known_) << "no fault kind in: " << line_;
        EXPECT_EQ(emulator_.Control(line_), "OK") << line_;
    }
    CheckedFault(const CheckedFault&) = delete;
    CheckedFault& operator=(const CheckedFault&) = delete;

    ~CheckedFault() {
        if (known_) {
            EXPECT_GT(emulator_.Faults().Fired(kind_), firedBefore_) << "never fired: " << line_;
        }
    }

  private:
    Emulator& emulator_;
    std::string line_;
    FaultKind kind_ = FaultKind::kFail;
    bool known_ = false;
    uint64_t firedBefore_ = 0;
};

}  // namespace vz
