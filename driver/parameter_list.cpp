// Building and reading parameter data lists, bounded against malformed driver replies.
#include "driver/parameter_list.h"

#include <cstring>

#include "driver/le_bytes.h"

namespace vz {

namespace {

constexpr uint16_t kLengths[kMaxParameterId + 1] = {
    0, 2, 1, 1, 1, 12, 6, 2, 1,  1, 1, 1, 1,  // 0..12
    4, 1, 1, 1, 1, 7,  1, 6, 12, 1, 1, 1,     // 13..24
};

}  // namespace

uint16_t ParameterLength(uint16_t id) {
    return id <= kMaxParameterId ? kLengths[id] : 0;
}

bool AppendParameter(uint8_t* list, size_t capacity, uint16_t& offset, uint16_t id,
                     const void* value) {
    if (id == 0 || id > kMaxParameterId) {
        return false;
    }
    const uint16_t length = kLengths[id];
    if (size_t(offset) + kParameterEntryHeader + length + 2 > capacity) {
        return false;
    }
    uint8_t* entry = list + offset;
    PutU16(entry, id);
    PutU16(entry + 2, kParameterStatusUnset);
    PutU16(entry + 4, length);
    std::memcpy(entry + kParameterEntryHeader, value, length);
    offset = static_cast<uint16_t>(offset + kParameterEntryHeader + length);
    PutU16(list + offset, 0);
    return true;
}

int GetfromDataList(const uint8_t* list, uint32_t length, uint16_t id, void* destination) {
    if (id == 0 || id > kMaxParameterId) {
        return -1;
    }
    // The walk steps by the table's lengths, never by the entry's own length field, and reads
    // nothing that does not lie wholly inside the list that was sent.
    size_t o = 0;
    while (o + 2 <= length) {
        const uint16_t readId = GetU16(list + o);
        if (readId == 0 || readId > kMaxParameterId) {
            return -1;
        }
        const size_t entryEnd = o + kParameterEntryHeader + kLengths[readId];
        if (entryEnd > length) {
            return -1;
        }
        if (readId == id) {
            if (GetU16(list + o + 2) != 0) {
                return -1;
            }
            std::memcpy(destination, list + o + kParameterEntryHeader, kLengths[id]);
            return 0;
        }
        o = entryEnd;
    }
    return -1;
}

}  // namespace vz
