// Injected faults: what each does, when it fires, and how often it has fired.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/core/random.h"
#include "emulator/core/text_fields.h"

namespace vz {

enum class FaultKind : uint8_t {
    kDrop,         // the connection goes away instead of an answer; the programs see -9
    kFail,         // the request is not carried out and answers with a given status
    kUnsetStatus,  // parameter entries keep status 0xFFFF (the value is neither read nor set)
    kLength,       // the reply's length field is overwritten (above 2000 to test the bound)
    kBusy,         // TransmitPing answers -5, -6 or -7 and sends nothing
    kSlow,         // the answer is held back for some milliseconds
    kIoError,      // DeviceIoControl fails with a given last error
};
constexpr size_t kFaultKindCount = 7;

const char* FaultKindName(FaultKind kind);

constexpr int kAnyCommand = -1;
constexpr uint32_t kFaultRepeatForever = 0;

struct FaultSpec {
    FaultKind kind = FaultKind::kFail;
    int command = kAnyCommand;
    int status = -1;     // kFail, kBusy
    uint32_t value = 0;  // kLength: the length field; kSlow: milliseconds; kIoError: the error
    int parameter = -1;  // kUnsetStatus: one parameter id, or -1 for every entry
    uint32_t nth = 1;    // fires first on the nth matching request after it was set
    uint32_t count = 1;  // then on this many consecutive matching requests; 0 = forever
    double rate = 0.0;   // kBusy: when above 0, fires by chance on every matching request
};

// Reads "drop", "fail cmd=3 status=-1", "busy status=-6 count=2" ... (the words after "fault").
// "clear" is not a fault and is handled by the caller.
bool ParseFaultSpec(const LineTokens& tokens, size_t firstWord, FaultSpec& spec,
                    std::string& error);

// What the faults due for one request ask of it.
struct FaultHits {
    bool drop = false;
    bool fail = false;
    int failStatus = 0;
    bool unsetStatus = false;
    int unsetParameter = -1;  // -1: every entry
    bool overrideLength = false;
    uint32_t length = 0;
    bool busy = false;
    int busyStatus = 0;
    uint32_t slowMs = 0;
    bool ioError = false;
    uint32_t ioErrorCode = 0;
};

class FaultBook {
  public:
    void Add(const FaultSpec& spec);
    // Removes the faults still waiting; the fired counts stay.
    void Clear();
    void ResetCounts();
    // Advances every fault that matches `command` and returns those that fire now.
    FaultHits Match(uint32_t command, EmulatorRandom& random);

    uint64_t Fired(FaultKind kind) const { return fired_[size_t(kind)]; }
    size_t Pending() const;

  private:
    struct Active {
        FaultSpec spec;
        uint32_t seen = 0;
        uint32_t fired = 0;
    };
    std::vector<Active> active_;
    std::array<uint64_t, kFaultKindCount> fired_ = {};
};

}  // namespace vz
