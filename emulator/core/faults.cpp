// Parsing fault commands and deciding, request by request, which faults fire.
#include "emulator/core/faults.h"

#include <algorithm>

#include "driver/request_block.h"

namespace vz {

namespace {

constexpr size_t kMaxActiveFaults = 64;

struct KindName {
    FaultKind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {FaultKind::kDrop, "drop"},
    {FaultKind::kFail, "fail"},
    {FaultKind::kUnsetStatus, "unset-status"},
    {FaultKind::kLength, "length"},
    {FaultKind::kBusy, "busy"},
    {FaultKind::kSlow, "slow"},
    {FaultKind::kIoError, "ioerror"},
};

bool AppliesTo(const FaultSpec& spec, uint32_t command) {
    switch (spec.kind) {
        case FaultKind::kBusy:
            return command == kCmdTransmitPing;
        case FaultKind::kUnsetStatus:
            if (spec.command == kAnyCommand) {
                return command == kCmdGetDriverData || command == kCmdSetDriverData;
            }
            return uint32_t(spec.command) == command;
        default:
            return spec.command == kAnyCommand || uint32_t(spec.command) == command;
    }
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
    for (const auto& entry : kKindNames) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "?";
}

bool ParseFaultSpec(const LineTokens& tokens, size_t firstWord, FaultSpec& spec,
                    std::string& error) {
    if (firstWord >= tokens.words.size()) {
        error = "fault needs a kind: drop, fail, unset-status, length, busy, slow or ioerror";
        return false;
    }
    if (tokens.words.size() > firstWord + 1) {
        error = "unexpected word '" + tokens.words[firstWord + 1] + "' in fault";
        return false;
    }
    const std::string& kindName = tokens.words[firstWord];
    bool known = false;
    for (const auto& entry : kKindNames) {
        if (kindName == entry.name) {
            spec = FaultSpec{};
            spec.kind = entry.kind;
            known = true;
        }
    }
    if (!known) {
        error = "unknown fault '" + kindName + "'";
        return false;
    }

    FieldReader fields(tokens);
    if (!fields.Integer("cmd", 0, 255, spec.command, error)) {
        return false;
    }
    if (!fields.Integer("nth", 1, 1000000000, spec.nth, error)) {
        return false;
    }
    if (fields.Has("count")) {
        std::string countText;
        fields.Text("count", 16, countText, error);
        long long n = 0;
        if (countText == "always") {
            spec.count = kFaultRepeatForever;
        } else if (ParseInteger(countText, 1, 1000000000, n)) {
            spec.count = uint32_t(n);
        } else {
            error = "count must be a whole number from 1 or 'always'";
            return false;
        }
    }
    switch (spec.kind) {
        case FaultKind::kDrop:
            break;
        case FaultKind::kFail:
            if (!fields.Has("cmd") || !fields.Has("status")) {
                error = "fail needs cmd= and status=";
                return false;
            }
            if (!fields.Integer("status", -2147483647LL - 1, 2147483647LL, spec.status, error)) {
                return false;
            }
            break;
        case FaultKind::kUnsetStatus:
            if (!fields.Integer("param", 1, 24, spec.parameter, error)) {
                return false;
            }
            break;
        case FaultKind::kLength:
            if (!fields.Has("cmd") || !fields.Has("value")) {
                error = "length needs cmd= and value=";
                return false;
            }
            if (!fields.Integer("value", 0, 0xFFFFFFFFLL, spec.value, error)) {
                return false;
            }
            break;
        case FaultKind::kBusy:
            spec.status = kStatusBusyFirst - 1;  // -6 unless given
            if (!fields.Integer("status", kStatusBusyLast, kStatusBusyFirst, spec.status, error)) {
                return false;
            }
            if (!fields.Real("rate", 0.0, 1.0, spec.rate, error)) {
                return false;
            }
            // A busy rate describes a crowded channel: it stays until cleared unless counted.
            if (spec.rate > 0.0 && !fields.Has("count")) {
                spec.count = kFaultRepeatForever;
            }
            break;
        case FaultKind::kSlow:
            if (!fields.Has("ms")) {
                error = "slow needs ms=";
                return false;
            }
            if (!fields.Integer("ms", 0, 60000, spec.value, error)) {
                return false;
            }
            break;
        case FaultKind::kIoError:
            if (!fields.Has("error")) {
                error = "ioerror needs error=";
                return false;
            }
            if (!fields.Integer("error", 1, 0xFFFFFFFFLL, spec.value, error)) {
                return false;
            }
            break;
    }
    const std::string unused = fields.FirstUnused();
    if (!unused.empty()) {
        error = "unknown key '" + unused + "' for fault " + kindName;
        return false;
    }
    return true;
}

void FaultBook::Add(const FaultSpec& spec) {
    // A control client could add faults without end; the oldest waiting one makes room.
    if (active_.size() >= kMaxActiveFaults) {
        active_.erase(active_.begin());
    }
    active_.push_back(Active{spec});
}

void FaultBook::Clear() {
    active_.clear();
}

void FaultBook::ResetCounts() {
    fired_.fill(0);
}

size_t FaultBook::Pending() const {
    return active_.size();
}

FaultHits FaultBook::Match(uint32_t command, EmulatorRandom& random) {
    FaultHits hits;
    for (Active& fault : active_) {
        const FaultSpec& spec = fault.spec;
        if (!AppliesTo(spec, command)) {
            continue;
        }
        bool fire = false;
        if (spec.kind == FaultKind::kBusy && spec.rate > 0.0) {
            fire = random.Chance(spec.rate);
        } else {
            ++fault.seen;
            fire = fault.seen >= spec.nth;
        }
        if (!fire) {
            continue;
        }
        ++fault.fired;
        ++fired_[size_t(spec.kind)];
        switch (spec.kind) {
            case FaultKind::kDrop:
                hits.drop = true;
                break;
            case FaultKind::kFail:
                hits.fail = true;
                hits.failStatus = spec.status;
                break;
            case FaultKind::kUnsetStatus:
                hits.unsetStatus = true;
                hits.unsetParameter = spec.parameter;
                break;
            case FaultKind::kLength:
                hits.overrideLength = true;
                hits.length = spec.value;
                break;
            case FaultKind::kBusy:
                hits.busy = true;
                hits.busyStatus = spec.status;
                break;
            case FaultKind::kSlow:
                hits.slowMs += spec.value;
                break;
            case FaultKind::kIoError:
                hits.ioError = true;
                hits.ioErrorCode = spec.value;
                break;
        }
    }
    active_.erase(std::remove_if(active_.begin(), active_.end(),
                                 [](const Active& f) {
                                     return f.spec.count != kFaultRepeatForever &&
                                            f.fired >= f.spec.count;
                                 }),
                  active_.end());
    return hits;
}

}  // namespace vz
