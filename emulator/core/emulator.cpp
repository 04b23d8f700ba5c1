// Serving request blocks: the command table of the card's driver and the device namespace.
#include "emulator/core/emulator.h"

#include <algorithm>
#include <cstring>

#include "driver/le_bytes.h"
#include "driver/request_block.h"
#include "emulator/core/radio_model.h"
#include "emulator/core/spectrum.h"
#include "platform/device_io.h"

namespace vz {

namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";
constexpr char kNtTargetPrefix[] = "\\DEVICE\\DAVUZIRO";
constexpr char kWindows95DeviceName[] = "ZERUVE";
constexpr size_t kReceivedPingRecordLength = 18;
constexpr size_t kPingHeaderLength = 18;
constexpr size_t kCalibrationPointsEnd = 9 + 2 * kMaxCalibrationEntries;

// The device namespace folds ASCII letters only.
char UpperOf(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return UpperOf(a) == UpperOf(b); });
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

// The definition in force for a name, as a reverse iterator (rend() when there is none).
template <typename Definitions>
auto LatestDefinitionOf(Definitions& definitions, std::string_view name) {
    return std::find_if(definitions.rbegin(), definitions.rend(),
                        [&](const auto& definition) { return EqualNoCase(definition.name, name); });
}

}  // namespace

Emulator::Emulator(const Scenario& scenario, Clock& clock)
    : world_(scenario),
      clock_(clock),
      config_(scenario.card.config),
      link_(world_, config_),
      signal_(scenario.card.calibration),
      random_(scenario.seed) {
    for (const FaultSpec& spec : scenario.faults) {
        faults_.Add(spec);
    }
    link_.StartWarm(clock_.NowMs());
}

bool Emulator::DefineDosDevice(uint32_t flags, std::string_view name, const char* target) {
    if (name.empty() || name.size() > 260) {
        return false;
    }
    if (flags & 2u) {  // remove the most recent definition
        const auto latest = LatestDefinitionOf(dosDefinitions_, name);
        if (latest == dosDefinitions_.rend()) {
            return false;
        }
        dosDefinitions_.erase(std::next(latest).base());
        return true;
    }
    if (!target) {
        return false;
    }
    std::string targetText(target, strnlen(target, 261));
    if (targetText.empty() || targetText.size() > 260) {
        return false;
    }
    // Redefining a name with the target already in force changes nothing; the programs' device
    // search redefines every name on each pass, and the list must not grow without end.
    const auto latest = LatestDefinitionOf(dosDefinitions_, name);
    if (latest != dosDefinitions_.rend() && latest->target == targetText) {
        return true;
    }
    if (dosDefinitions_.size() >= kMaxDosDefinitions) {
        return false;
    }
    dosDefinitions_.push_back(DosDefinition{std::string(name), std::move(targetText)});
    ++counters_.dosDefinitions;
    return true;
}

bool Emulator::DeviceExists(std::string_view path) const {
    if (cardOut_ || !StartsWithNoCase(path, kDevicePrefix)) {
        return false;
    }
    const std::string_view name = path.substr(std::strlen(kDevicePrefix));
    if (EqualNoCase(name, kWindows95DeviceName)) {
        return world_.devices.windows95Device;
    }
    const auto latest = LatestDefinitionOf(dosDefinitions_, name);
    if (latest == dosDefinitions_.rend()) {
        return false;
    }
    const std::string_view target = latest->target;
    if (!StartsWithNoCase(target, kNtTargetPrefix)) {
        return false;
    }
    const std::string_view digits = target.substr(std::strlen(kNtTargetPrefix));
    long long n = 0;
    if (digits.empty() || digits.size() > 3 || !ParseInteger(digits, 1, 999, n)) {
        return false;
    }
    return std::find(world_.devices.ntNumbers.begin(), world_.devices.ntNumbers.end(), int(n)) !=
           world_.devices.ntNumbers.end();
}

void Emulator::NoteOpen(bool succeeded) {
    if (succeeded) {
        ++counters_.opens;
    } else {
        ++counters_.failedOpens;
    }
}

ServeOutcome Emulator::Serve(uint8_t* block, size_t size) {
    ServeOutcome outcome;
    if (size < kRequestBlockSize) {
        outcome.ioError = true;
        outcome.ioErrorCode = 122;  // the buffer is too small for the block
        return outcome;
    }
    const uint32_t now = clock_.NowMs();
    const uint32_t commandWord = GetU32(block + kRequestCommandOffset);
    const uint32_t command = commandWord & 0xFFFFFFu;
    const uint32_t cardIndex = commandWord >> kCardIndexShift;
    const uint32_t length = GetU32(block + kRequestLengthOffset);
    ++counters_.requests[command < EmulatorCounters::kCommandSlots ? command : 0];

    const FaultHits hits = faults_.Match(command, random_);
    outcome.delayUs = world_.timing.serviceUs + hits.slowMs * 1000u;
    if (hits.drop) {
        outcome.drop = true;
        return outcome;
    }
    // ERROR_NO_MORE_ITEMS is the one failure after which the block still counts.
    if (hits.ioError && hits.ioErrorCode != kErrorNoMoreItems) {
        outcome.ioError = true;
        outcome.ioErrorCode = hits.ioErrorCode;
        return outcome;
    }

    link_.Update(now);
    Reply reply;
    if (hits.fail) {
        reply.result = hits.failStatus;
    } else if (cardIndex != 0 || length > kRequestDataSize) {
        reply.result = kStatusFailed;
    } else if (hits.busy) {
        reply.result = hits.busyStatus;
    } else {
        reply = Dispatch(command, block + kRequestDataOffset, length, hits);
    }
    PutU32(block + kRequestLengthOffset, hits.overrideLength ? hits.length : reply.length);
    PutU32(block + kRequestResultOffset, uint32_t(reply.result));
    if (hits.ioError) {
        outcome.ioError = true;
        outcome.ioErrorCode = hits.ioErrorCode;
    }
    return outcome;
}

Emulator::Reply Emulator::Dispatch(uint32_t command, uint8_t* data, uint32_t length,
                                   const FaultHits& hits) {
    const uint32_t now = clock_.NowMs();
    Reply ok{kStatusOk, 0};
    switch (command) {
        case kCmdSetSecurityId:
            return SetSecurityId(data, length);
        case kCmdGetDriverVersion: {
            const std::string& text = world_.card.driverVersion;
            const size_t n = std::min(text.size(), kDriverVersionSize - 1);
            std::memcpy(data, text.data(), n);
            data[n] = 0;
            return Reply{kStatusOk, uint32_t(n + 1)};
        }
        case kCmdGetDriverData:
            return ServeParameterList(data, length, false, hits);
        case kCmdSetDriverData:
            return ServeParameterList(data, length, true, hits);
        case kCmdStopSearch:
            return Reply{link_.StopSearch(now) ? kStatusOk : kStatusPending, 0};
        case kCmdStartMasterSearch:
            if (length < kSearchRecordSize || data[2] > 15) {
                return Reply{};
            }
            link_.StartSearch(data[2], now);
            return ok;
        case kCmdSearchSynchronous: {
            if (length < kSearchRecordSize || data[2] > 15) {
                return Reply{};
            }
            const char* name = reinterpret_cast<const char*>(data + 3);
            link_.Lock(data[2], std::string(name, strnlen(name, kSearchRecordSize - 3)), now);
            return ok;
        }
        case kCmdGetCountryCode:
            data[0] = world_.card.countryCode;
            return Reply{kStatusOk, 1};
        case kCmdGetRssi:
            return GetRssi(data, length);
        case kCmdDisableHopping:
            if (length < 1 || data[0] < 1 || data[0] > kMaxFrequencyIndex) {
                return Reply{};
            }
            parkedFrequency_ = data[0];
            return ok;
        case kCmdRestartDriver:
            released_ = false;
            return ok;
        case kCmdReleaseCard:
            released_ = true;
            initialised_ = false;
            return ok;
        case kCmdInitCard:
            link_.Reinitialise(now);
            pings_.Clear();
            parkedFrequency_ = 0;
            initialised_ = true;
            released_ = false;
            return ok;
        case kCmdGetRssiCalibration:
            return GetRssiCalibration(data, length);
        case kCmdReceivePing:
            return ReceivePing(data);
        case kCmdTransmitPing:
            return TransmitPing(data, length);
        case kCmdSetMacOptimize:
            if (length < 1 || data[0] > 1) {
                return Reply{};
            }
            config_.macOptimize = data[0];
            return ok;
        case kCmdSetRoamConfig:
            if (length < 1 || data[0] > 2) {
                return Reply{};
            }
            config_.roamConfig = data[0];
            return ok;
        case kCmdGetPingEcho:
            return GetPingEcho(data, length);
        default:
            return Reply{};  // commands this driver does not know leave the preset -1
    }
}

Emulator::Reply Emulator::SetSecurityId(const uint8_t* data, uint32_t length) {
    const size_t window = std::min<size_t>(length, kMaxSecurityIdLength + 1);
    const void* nul = std::memchr(data, 0, window);
    if (!nul) {
        return Reply{};  // no terminator within 21 bytes: too long or not text
    }
    config_.securityId.assign(reinterpret_cast<const char*>(data),
                              size_t(static_cast<const uint8_t*>(nul) - data));
    link_.Update(clock_.NowMs());
    return Reply{kStatusOk, 0};
}

Emulator::Reply Emulator::GetRssiCalibration(uint8_t* data, uint32_t length) {
    if (length < kCalibrationPointsEnd) {
        return Reply{};
    }
    const auto& points = world_.card.calibration;
    data[8] = uint8_t(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
        data[9 + 2 * k] = points[k].belowZeroDbm;
        data[10 + 2 * k] = points[k].raw;
    }
    return Reply{kStatusOk, std::min<uint32_t>(length, kCalibrationRecordSize)};
}

Emulator::Reply Emulator::GetRssi(uint8_t* data, uint32_t length) {
    if (length < 1) {
        return Reply{};
    }
    // While hopping, a reading lands on whichever frequency the hop is on.
    const int frequency =
        parkedFrequency_ != 0 ? parkedFrequency_ : 1 + int(random_.Below(kMaxFrequencyIndex));
    const double level = SampleSpectrumDbm(world_.spectrum, frequency, HeardLevels(), random_);
    data[0] = signal_.RawReading(level);
    return Reply{kStatusOk, 1};
}

std::vector<PingPeer> Emulator::Cell() const {
    std::vector<PingPeer> cell;
    if (!link_.Synced()) {
        return cell;
    }
    const MasterSpec* master = link_.CurrentMaster();
    if (master) {
        cell.push_back(PingPeer{master->address, master->signalDbm, master->answer,
                                master->latencyMs, master->spreadMs, master->echoLoss,
                                master->load});
    }
    for (const NodeSpec& n : world_.nodes) {
        if (n.silent || n.signalDbm < world_.card.sensitivityDbm) {
            continue;
        }
        if (n.inOneCell && (!master || master->address != n.cellMaster)) {
            continue;
        }
        cell.push_back(PingPeer{n.address, n.signalDbm, n.answer, n.latencyMs, n.spreadMs,
                                n.echoLoss, n.load});
    }
    return cell;
}

std::vector<double> Emulator::HeardLevels() const {
    std::vector<double> levels;
    for (const MasterSpec& m : world_.masters) {
        if (!m.silent && m.signalDbm >= world_.card.sensitivityDbm) {
            levels.push_back(m.signalDbm);
        }
    }
    for (const NodeSpec& n : world_.nodes) {
        if (!n.silent && n.signalDbm >= world_.card.sensitivityDbm) {
            levels.push_back(n.signalDbm);
        }
    }
    return levels;
}

Emulator::Reply Emulator::TransmitPing(uint8_t* data, uint32_t length) {
    if (length < kPingHeaderLength) {
        return Reply{};
    }
    const uint32_t payload = GetU32(data + 14);
    if (payload > kPingPayloadMax || kPingHeaderLength + payload > length) {
        return Reply{};
    }
    if (!link_.Synced()) {
        return Reply{};  // nobody to send to
    }
    MacAddress destination;
    std::memcpy(destination.data(), data, destination.size());
    uint32_t transmitTime = 0;
    const std::vector<PingPeer> cell = Cell();
    const RadioSpec& radio = world_.radio;
    uint8_t id = 0;
    if (radio.enabled) {
        AirSettings air{radio.rateKbps, radio.retries, world_.card.sensitivityDbm, 0.0};
        for (const PingPeer& peer : cell) {
            air.load += peer.load;
        }
        air.load = std::min(air.load, kMaxCellLoad);
        id = pings_.TransmitOnAir(destination, payload, cell, air, clock_.NowMs(),
                                  world_.timing.signalNoiseDb, signal_, random_, transmitTime);
    } else {
        id = pings_.Transmit(destination, payload, cell, clock_.NowMs(),
                             world_.timing.signalNoiseDb, signal_, random_, transmitTime);
    }
    PutU32(data + 8, transmitTime);
    data[12] = id;
    return Reply{kStatusOk, length};
}

Emulator::Reply Emulator::ReceivePing(uint8_t* data) {
    ReceivedPing ping;
    if (!pings_.Receive(clock_.NowMs(), ping)) {
        return Reply{kStatusOk, 0};
    }
    std::memset(data, 0, kReceivedPingRecordLength);
    std::memcpy(data, ping.source.data(), ping.source.size());
    data[12] = ping.raw;
    PutU32(data + 14, ping.bytes);
    return Reply{kStatusPending, uint32_t(kReceivedPingRecordLength)};
}

Emulator::Reply Emulator::GetPingEcho(uint8_t* data, uint32_t length) {
    if (length < kEchoRecordSize) {
        return Reply{};
    }
    const EchoAnswer echo = pings_.Echo(data[0], clock_.NowMs());
    if (echo.status == kStatusOk) {
        PutU32(data + 2, echo.echoTime);
    }
    return Reply{echo.status, uint32_t(kEchoRecordSize)};
}

}  // namespace vz
