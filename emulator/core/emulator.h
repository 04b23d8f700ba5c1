// The emulated card driver: answers each device call as the card's kernel driver would, from a
// scenario's world, with injected faults and counters.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/core/card_link.h"
#include "emulator/core/faults.h"
#include "emulator/core/ping_engine.h"
#include "emulator/core/random.h"
#include "emulator/core/scenario.h"
#include "emulator/core/signal_model.h"
#include "platform/clock.h"
#include "platform/system_version.h"

namespace vz {

// What the transport around the emulator must do with one request besides answering it.
struct ServeOutcome {
    bool drop = false;     // the connection goes away instead of an answer
    bool ioError = false;  // DeviceIoControl fails with ioErrorCode
    uint32_t ioErrorCode = 0;
    uint32_t delayUs = 0;  // how long the driver takes over it
};

struct EmulatorCounters {
    static constexpr size_t kCommandSlots = 32;  // slot 0 also counts numbers of 32 and above
    std::array<uint64_t, kCommandSlots> requests{};
    uint64_t opens = 0;
    uint64_t failedOpens = 0;
    uint64_t closes = 0;
    uint64_t dosDefinitions = 0;
    uint64_t malformedLists = 0;
};

class Emulator {
  public:
    static constexpr size_t kMaxDosDefinitions = 4096;

    Emulator(const Scenario& scenario, Clock& clock);
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // The operating system's side: version record, DOS device names and which paths open.
    SystemVersion SystemVersionRecord() const { return world_.system; }
    bool DefineDosDevice(uint32_t flags, std::string_view name, const char* target);
    bool DeviceExists(std::string_view path) const;
    void NoteOpen(bool succeeded);
    void NoteClose() { ++counters_.closes; }

    // Serves one 2016-byte request block in place: the length and result fields and the data
    // area are written as the driver writes them. `size` below 2016 is refused unserved.
    ServeOutcome Serve(uint8_t* block, size_t size);

    // One line of the control language (see PROTOCOL.md); the answer is one line.
    std::string Control(std::string_view line);
    // Raised by "drop-clients": every device session opened before it loses its handles.
    uint32_t DropEpoch() const { return dropEpoch_; }

    // Read-only views for the control interface and for tests.
    uint32_t Now() { return clock_.NowMs(); }
    // Spends the driver's service time on the emulator's clock.
    void SleepMs(uint32_t ms) { clock_.SleepMs(ms); }
    const Scenario& World() const { return world_; }
    const CardConfig& Config() const { return config_; }
    const CardLink& Link() const { return link_; }
    const EmulatorCounters& Counters() const { return counters_; }
    const FaultBook& Faults() const { return faults_; }
    bool Initialised() const { return initialised_; }
    bool Released() const { return released_; }
    int ParkedFrequency() const { return parkedFrequency_; }
    void Update() { link_.Update(Now()); }

  private:
    struct Reply {
        int32_t result = -1;
        uint32_t length = 0;
    };

    Reply Dispatch(uint32_t command, uint8_t* data, uint32_t length, const FaultHits& hits);
    Reply ServeParameterList(uint8_t* data, uint32_t length, bool set, const FaultHits& hits);
    bool ReadParameter(uint16_t id, uint8_t* value);
    bool WriteParameter(uint16_t id, const uint8_t* value);
    Reply SetSecurityId(const uint8_t* data, uint32_t length);
    Reply TransmitPing(uint8_t* data, uint32_t length);
    Reply ReceivePing(uint8_t* data);
    Reply GetPingEcho(uint8_t* data, uint32_t length);
    Reply GetRssiCalibration(uint8_t* data, uint32_t length);
    Reply GetRssi(uint8_t* data, uint32_t length);
    std::vector<PingPeer> Cell() const;
    std::vector<double> HeardLevels() const;

    std::string ControlCounters() const;
    std::string ControlState();
    std::string ControlRemove(const std::vector<std::string>& words);
    std::string ControlSilence(const std::string& address, bool silent);
    std::string ControlCardAt(const LineTokens& tokens);

    Scenario world_;
    Clock& clock_;
    CardConfig config_;
    CardLink link_;
    SignalModel signal_;
    PingEngine pings_;
    EmulatorRandom random_;
    FaultBook faults_;
    EmulatorCounters counters_;
    // The DOS device names in the order they were defined. The latest definition of a name is
    // the one in force, and removing the name takes that one away again; the device search
    // defines and removes one name at a time, so the list stays short.
    struct DosDefinition {
        std::string name;
        std::string target;
    };
    std::vector<DosDefinition> dosDefinitions_;
    bool initialised_ = true;
    bool released_ = false;
    bool cardOut_ = false;     // ejected: no device opens
    int parkedFrequency_ = 0;  // 0 while hopping
    uint32_t dropEpoch_ = 0;
};

}  // namespace vz
