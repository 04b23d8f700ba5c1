// Fuzz target: every card operation over a device whose every answer comes from the fuzzer
// (statuses, length fields, parameter entries, texts without their NUL, lists cut short), and
// the parameter list reader over raw bytes. Each text the layer keeps must stay terminated.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver/card_control.h"
#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/ping.h"
#include "driver/request_block.h"
#include "driver/rssi_map.h"
#include "driver/status_queries.h"
#include "fuzz/fuzz_input.h"
#include "platform/fake/virtual_clock.h"

namespace vz {
namespace {

// Once the input is used up the channel fails, so every wait of the layer ends.
constexpr uint32_t kDeviceNotConnected = 1167;

class FuzzedDevice : public DeviceIo {
  public:
    explicit FuzzedDevice(FuzzInput& input) : input_(input) {}

    SystemVersion GetSystemVersion() override {
        SystemVersion version;
        version.platformId = input_.U8() % 3;
        version.majorVersion = input_.U8() % 6;
        return version;
    }
    DeviceHandle OpenDevice(const char*) override {
        return input_.Empty() || input_.Flag() ? ++openHandles_ : kInvalidDeviceHandle;
    }
    void CloseDevice(DeviceHandle) override { --openHandles_; }
    bool DefineDosDevice(uint32_t, const char*, const char*) override { return true; }

    IoControlResult IoControl(DeviceHandle, uint32_t, const uint8_t*, uint32_t, uint8_t* out,
                              uint32_t outSize) override {
        if (input_.Empty() || outSize < kRequestBlockSize) {
            return {false, kDeviceNotConnected};
        }
        uint8_t* data = out + kRequestDataOffset;
        const uint32_t sentLength = GetU32(out + kRequestLengthOffset);
        switch (input_.Pick(4)) {
            case 0:  // the call itself fails
                return {false, input_.Flag() ? kErrorNoMoreItems : input_.U32()};
            case 1:  // raw bytes over the data area
                input_.Bytes(data, kRequestDataSize);
                break;
            case 2:  // the parameter entries sent, each answered or not
                AnswerEntries(data, std::min<uint32_t>(sentLength, kRequestDataSize));
                break;
            default:
                break;
        }
        if (input_.Flag()) {
            PutU32(out + kRequestLengthOffset, input_.Flag() ? input_.U32() : input_.U16() % 2100);
        }
        PutU32(out + kRequestResultOffset, uint32_t(int32_t(int8_t(input_.U8()))));
        return {true, 0};
    }

    int OpenHandles() const { return openHandles_; }

  private:
    void AnswerEntries(uint8_t* list, uint32_t length) {
        for (uint32_t o = 0; o + kParameterEntryHeader <= length;) {
            const uint16_t id = GetU16(list + o);
            if (id == 0 || id > kMaxParameterId) {
                return;
            }
            PutU16(list + o + 2, input_.Flag() ? 0 : input_.U16());
            const uint32_t room = std::min<uint32_t>(ParameterLength(id), length - o - 6);
            input_.Bytes(list + o + 6, room);
            o += kParameterEntryHeader + ParameterLength(id);
        }
    }

    FuzzInput& input_;
    int openHandles_ = 0;
};

template <size_t N>
void CheckTerminated(const char (&text)[N]) {
    if (memchr(text, '\0', N) == nullptr) {
        std::abort();
    }
}

void CheckCardState(const CardState& card) {
    CheckTerminated(card.masterName);
    CheckTerminated(card.masterAddress);
    CheckTerminated(card.nodeAddress);
    CheckTerminated(card.driverVersion);
    CheckTerminated(card.rssiMapText);
}

void RunOperation(Driver& driver, FuzzInput& input) {
    MasterReading reading;
    char masterName[kMasterNameSize] = "";
    uint8_t u8 = 0;
    uint32_t u32 = 0;
    const uint32_t cardIndex = input.U8() % 4;
    switch (input.Pick(20)) {
        case 0:
            GetMasterNode(driver, reading, cardIndex);
            CheckTerminated(reading.address);
            CheckTerminated(reading.name);
            CheckTerminated(reading.nodeAddress);
            break;
        case 1:
            GetSyncState(driver, u8, cardIndex);
            break;
        case 2:
            GetRoamingFlag(driver, u8, cardIndex);
            break;
        case 3: {
            char version[32] = {};
            GetVersion(driver, version, cardIndex);
            CheckTerminated(version);
            break;
        }
        case 4:
            GetDriverVersion(driver, driver.card.driverVersion);
            break;
        case 5: {
            char text[kRssiMapTextSize];
            BuildRssiMap(driver, text, cardIndex);
            CheckTerminated(text);
            break;
        }
        case 6:
            GetRSSI_freq(driver, u8, input.U8(), cardIndex);
            break;
        case 7:
            GetCountryCode(driver, u8, cardIndex);
            break;
        case 8: {
            uint8_t pingId = 0;
            SendPing(driver, kBroadcastAddress, input.U16() % 1600, input.U8(), u8, u32, pingId,
                     cardIndex);
            break;
        }
        case 9: {
            char source[kNodeAddressTextSize];
            GetPing(driver, source, u32, u8, cardIndex);
            break;
        }
        case 10:
            GetPingEcho(driver, input.U8(), u32, cardIndex);
            break;
        case 11:
            InitCard(driver, u8, cardIndex, input.U8() % 3);
            break;
        case 12:
            std::strcpy(reading.address, "00a0d4010001");
            reading.channel = input.U8();
            reading.subchannel = input.U8();
            SynchToMaster(driver, input.U8() % 2, input.U8(), reading, cardIndex);
            break;
        case 13:
            SearchSynchronous(driver, input.U8(), input.U8(), input.U8(), masterName, cardIndex);
            break;
        case 14:
            StartMasterSearch(driver, input.U8(), cardIndex);
            break;
        case 15: {
            CardOptions options;
            options.masterSettings = input.Flag();
            options.peerToPeer = input.Flag();
            SetCardOptions(driver, options, cardIndex);
            break;
        }
        case 16:
            SetSecurityId(driver, "orchid");
            break;
        case 17: {
            uint8_t record[kCalibrationRecordSize] = {};
            uint8_t table[256];
            char text[kRssiMapTextSize];
            input.Bytes(record, sizeof record);
            RssiTableFromCalibration(record, table, text);
            CheckTerminated(text);
            break;
        }
        case 18: {
            // A list of exactly the bytes given, so a read past its end is seen.
            std::vector<uint8_t> list(input.U16() % 256);
            list.resize(input.Bytes(list.data(), list.size()));
            uint8_t value[64];
            GetfromDataList(list.data(), uint32_t(list.size()), input.U8(), value);
            break;
        }
        default:
            OpenDriver(driver);
            break;
    }
    CheckCardState(driver.card);
}

}  // namespace
}  // namespace vz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vz::FuzzInput input(data, size);
    vz::FuzzedDevice device(input);
    // Long yields keep the layer's ten-second waits short.
    vz::VirtualClock clock(50);
    vz::NullCardHost host;
    vz::Driver driver(device, clock, host,
                      input.Flag() ? vz::DriverVariant::kTool : vz::DriverVariant::kMonitor);
    vz::OpenDriver(driver);
    for (int i = 0; i < 64 && !input.Empty(); ++i) {
        vz::RunOperation(driver, input);
    }
    vz::CloseDriver(driver);
    if (device.OpenHandles() != 0) {
        std::abort();
    }
    return 0;
}
