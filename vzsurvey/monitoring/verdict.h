// The outcome of a run as monitoring systems read it; its value is the program's exit status.
#pragma once

#include <string_view>

namespace vz {

enum class Verdict { kOk = 0, kWarning = 1, kCritical = 2, kUnknown = 3 };

constexpr std::string_view VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::kOk:
            return "OK";
        case Verdict::kWarning:
            return "WARNING";
        case Verdict::kCritical:
            return "CRITICAL";
        case Verdict::kUnknown:
            return "UNKNOWN";
    }
    return "UNKNOWN";
}

// The more serious of two verdicts: CRITICAL, then WARNING, then UNKNOWN, then OK. A figure found
// bad outweighs one that could not be judged.
constexpr Verdict Worse(Verdict a, Verdict b) {
    constexpr auto rank = [](Verdict verdict) {
        switch (verdict) {
            case Verdict::kOk:
                return 0;
            case Verdict::kUnknown:
                return 1;
            case Verdict::kWarning:
                return 2;
            case Verdict::kCritical:
                return 3;
        }
        return 1;
    };
    return rank(a) >= rank(b) ? a : b;
}

}  // namespace vz
