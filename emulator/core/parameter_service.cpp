// GetDriverData and SetDriverData: walking a client's parameter list within its length, and
// each parameter the card reads or writes.
#include <cstring>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "emulator/core/emulator.h"

namespace vz {

namespace {

void PutText(uint8_t* value, size_t width, const std::string& text) {
    std::memset(value, 0, width);
    std::memcpy(value, text.data(), std::min(text.size(), width));
}

}  // namespace

Emulator::Reply Emulator::ServeParameterList(uint8_t* data, uint32_t length, bool set,
                                             const FaultHits& hits) {
    bool rejected = false;
    size_t o = 0;
    for (;;) {
        // Every step is checked against the length the client sent: a list without its
        // terminator, with an unknown id or with an entry running past the end stops here.
        if (o + 2 > length) {
            break;
        }
        const uint16_t id = GetU16(data + o);
        if (id == 0) {
            return Reply{set && rejected ? kStatusFailed : kStatusOk, length};
        }
        if (id > kMaxParameterId) {
            break;
        }
        const size_t valueAt = o + kParameterEntryHeader;
        const size_t entryEnd = valueAt + ParameterLength(id);
        if (entryEnd > length) {
            break;
        }
        const bool withheld =
            hits.unsetStatus && (hits.unsetParameter < 0 || hits.unsetParameter == int(id));
        bool handled = false;
        if (!withheld) {
            handled = set ? WriteParameter(id, data + valueAt) : ReadParameter(id, data + valueAt);
        }
        if (set && !handled) {
            rejected = true;
        }
        PutU16(data + o + 2, handled ? 0 : kParameterStatusUnset);
        o = entryEnd;
    }
    ++counters_.malformedLists;
    return Reply{kStatusFailed, length};
}

bool Emulator::ReadParameter(uint16_t id, uint8_t* value) {
    const MasterSpec* master = link_.CurrentMaster();
    const bool self = link_.SyncedToSelf();
    switch (id) {
        case kParamMasterChannel:
            value[0] = config_.channel;
            return true;
        case kParamMasterSubchannel:
            value[0] = config_.subchannel;
            return true;
        case kParamAnnouncedName:
            PutText(value, ParameterLength(id), config_.masterName);
            return true;
        case kParamNodeAddress:
            std::memcpy(value, world_.card.address.data(), 6);
            return true;
        case kParamInactivity:
            PutU16(value, config_.inactivity);
            return true;
        case kParamDomain:
            value[0] = config_.domain;
            return true;
        case kParamStationType:
            value[0] = config_.stationType;
            return true;
        case kParamRoamingFlag:
            value[0] = config_.roamingFlag;
            return true;
        case kParamRomVersion:
            PutText(value, ParameterLength(id), world_.card.romVersion);
            return true;
        case kParamSyncState:
            value[0] = self ? 2 : (link_.Synced() ? 1 : 0);
            return true;
        case kParamMasterAddress:
            if (self) {
                std::memcpy(value, world_.card.address.data(), 6);
            } else if (master) {
                std::memcpy(value, master->address.data(), 6);
            } else {
                std::memset(value, 0, 6);
            }
            return true;
        case kParamMasterName:
            PutText(value, ParameterLength(id),
                    self ? config_.masterName : (master ? master->name : std::string()));
            return true;
        case kParamChannel:
            value[0] = self ? config_.channel : (master ? master->channel : 0);
            return true;
        case kParamSubchannel:
            value[0] = self ? config_.subchannel : (master ? master->subchannel : 0);
            return true;
        case kParamPeerToPeer:
            value[0] = config_.peerToPeer;
            return true;
        default:
            return false;  // parameters 1, 2 and 10..16 mean nothing to this card
    }
}

bool Emulator::WriteParameter(uint16_t id, const uint8_t* value) {
    const uint32_t now = clock_.NowMs();
    switch (id) {
        case kParamMasterChannel:
        case kParamMasterSubchannel:
            if (value[0] < 1 || value[0] > 15) {
                return false;
            }
            (id == kParamMasterChannel ? config_.channel : config_.subchannel) = value[0];
            return true;
        case kParamAnnouncedName: {
            const char* text = reinterpret_cast<const char*>(value);
            config_.masterName.assign(text, strnlen(text, kMaxMasterNameLength));
            return true;
        }
        case kParamInactivity:
            config_.inactivity = GetU16(value);
            return true;
        case kParamDomain:
            if (value[0] > 15) {
                return false;
            }
            config_.domain = value[0];
            return true;
        case kParamStationType:
            if (value[0] > 2) {
                return false;
            }
            config_.stationType = value[0];  // takes effect at the next re-initialisation
            return true;
        case kParamRoamingFlag:
            if (value[0] > 1) {
                return false;
            }
            config_.roamingFlag = value[0];
            return true;
        case kParamSyncState:
            if (value[0] == 0) {
                link_.ClearSync(now);
            }
            return true;
        case kParamMasterAddress:
            link_.ClearSync(now);
            return true;
        case kParamPeerToPeer:
            if (value[0] > 1) {
                return false;
            }
            config_.peerToPeer = value[0];
            return true;
        default:
            return false;  // read-only (6, 18, 21..23) or unknown to this card
    }
}

}  // namespace vz
