// Parameter data lists: the numbered card parameters carried by GetDriverData and SetDriverData.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vz {

constexpr uint16_t kMaxParameterId = 24;
constexpr size_t kParameterEntryHeader = 6;  // id, status, length
constexpr uint16_t kParameterStatusUnset = 0xFFFF;

enum ParameterId : uint16_t {
    kParamMasterChannel = 3,
    kParamMasterSubchannel = 4,
    kParamAnnouncedName = 5,
    kParamNodeAddress = 6,
    kParamInactivity = 7,
    kParamDomain = 8,
    kParamStationType = 9,
    kParamRoamingFlag = 17,
    kParamRomVersion = 18,
    kParamSyncState = 19,
    kParamMasterAddress = 20,
    kParamMasterName = 21,
    kParamChannel = 22,
    kParamSubchannel = 23,
    kParamPeerToPeer = 24,
};

// Value length of each parameter, indexed by id; 0 for ids outside 1..24.
uint16_t ParameterLength(uint16_t id);

// Appends one entry taking ParameterLength(id) bytes from `value` and rewrites the terminator.
// Returns false, leaving the list as it was, when the id is unknown or the entry would not fit.
bool AppendParameter(uint8_t* list, size_t capacity, uint16_t& offset, uint16_t id,
                     const void* value);

// Copies the value of `id` into `destination` when its entry is present with status 0.
// Returns 0 then, -1 otherwise; a list with an unknown id or an entry running past
// `length` is malformed and also yields -1.
int GetfromDataList(const uint8_t* list, uint32_t length, uint16_t id, void* destination);

// A list built on the caller's stack. The largest list any operation sends is 65 bytes.
class ParameterList {
  public:
    static constexpr size_t kCapacity = 128;

    ParameterList() { bytes_[0] = bytes_[1] = 0; }

    bool Append(uint16_t id, const void* value) {
        return AppendParameter(bytes_, kCapacity, offset_, id, value);
    }
    int Get(uint16_t id, void* destination) const {
        return GetfromDataList(bytes_, Length(), id, destination);
    }
    // The request length: the terminator's offset plus its two bytes.
    uint32_t Length() const { return offset_ + 2u; }
    uint8_t* Bytes() { return bytes_; }
    const uint8_t* Bytes() const { return bytes_; }

  private:
    uint8_t bytes_[kCapacity];
    uint16_t offset_ = 0;
};

}  // namespace vz
