// Parameter lists: sizes on the wire and the walk over well-formed and malformed replies.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"

namespace vz {
namespace {

using Bytes = std::vector<uint8_t>;

// The Master node list, the largest any operation sends, is 65 bytes; nothing unknown or
// beyond the buffer is appended.
TEST(ParameterList, AppendBuildsTheWireForm) {
    ParameterList list;
    const uint8_t value[12] = {0x5A};
    ASSERT_TRUE(list.Append(kParamSyncState, value));
    EXPECT_EQ(Bytes(list.Bytes(), list.Bytes() + list.Length()),
              (Bytes{kParamSyncState, 0, 0xFF, 0xFF, 1, 0, 0x5A, 0, 0}));
    for (uint16_t id : {kParamMasterAddress, kParamNodeAddress, kParamMasterName, kParamChannel,
                        kParamSubchannel}) {
        ASSERT_TRUE(list.Append(id, value));
    }
    EXPECT_EQ(list.Length(), 65u);
    uint8_t bytes[16] = {};
    uint16_t offset = 0;
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, kMaxParameterId + 1, value));
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, 0, value));
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, kParamMasterName, value));
    EXPECT_EQ(offset, 0);
    EXPECT_TRUE(AppendParameter(bytes, sizeof bytes, offset, kParamMasterAddress, value));
}

// Entries as {id, status, length field, value bytes}, terminated or not.
struct RawEntry {
    uint16_t id;
    uint16_t status;
    uint16_t lengthField;
    Bytes value;
};

Bytes RawList(const std::vector<RawEntry>& entries, bool terminate = true) {
    Bytes list;
    for (const RawEntry& e : entries) {
        const uint8_t header[6] = {uint8_t(e.id),          uint8_t(e.id >> 8),
                                   uint8_t(e.status),      uint8_t(e.status >> 8),
                                   uint8_t(e.lengthField), 0};
        list.insert(list.end(), header, header + 6);
        list.insert(list.end(), e.value.begin(), e.value.end());
    }
    if (terminate) {
        list.insert(list.end(), {0, 0});
    }
    return list;
}

struct WalkCase {
    const char* name;
    Bytes list;
    uint32_t length;  // 0: the list's size
    uint16_t wanted;
    int expected;
};

class GetfromDataListCases : public ::testing::TestWithParam<WalkCase> {};

// Exactly `length` bytes on the heap, so the sanitized build catches a read past them; after
// them in a second copy a handled entry for the wanted id, so a plain build catches it too.
TEST_P(GetfromDataListCases, FindsOnlyHandledEntriesInsideTheList) {
    const WalkCase& c = GetParam();
    const uint32_t length = c.length ? c.length : uint32_t(c.list.size());
    Bytes full(c.list.begin(), c.list.begin() + length);
    const Bytes bait = RawList({{c.wanted, 0, 1, Bytes(12, 0xAB)}});
    full.insert(full.end(), bait.begin(), bait.end());
    auto exact = std::make_unique<uint8_t[]>(length);
    std::copy(full.begin(), full.begin() + length, exact.get());
    uint8_t out[12] = {0xCD};
    EXPECT_EQ(GetfromDataList(exact.get(), length, c.wanted, out), c.expected);
    out[0] = 0xCD;
    EXPECT_EQ(GetfromDataList(full.data(), length, c.wanted, out), c.expected);
    EXPECT_EQ(out[0], c.expected == 0 ? 1 : 0xCD);
}

const uint16_t kSync = kParamSyncState;
const uint16_t kChannel = kParamChannel;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, GetfromDataListCases, ::testing::Values(
    WalkCase{"WalkUsesTableNotLengthField", RawList({{kChannel, 0, 9, {7}}, {kSync, 0, 0, {1}}}), 0,
             kSync, 0},
    WalkCase{"MissingStopsAtTerminator", RawList({{kChannel, 0, 1, {7}}}), 0, kSync, -1},
    WalkCase{"StatusLeftUnset", RawList({{kSync, kParameterStatusUnset, 1, {1}}}), 0, kSync, -1},
    WalkCase{"IdAboveTable", RawList({{kMaxParameterId + 1, 0, 1, {1}}, {kSync, 0, 1, {1}}}), 0,
             kSync, -1},
    WalkCase{"WantedIdOutOfRange", RawList({{kSync, 0, 1, {1}}}), 0, kMaxParameterId + 1, -1},
    WalkCase{"EntryCutShortByOneByte", RawList({{kSync, 0, 1, {}}}, false), 0, kSync, -1},
    WalkCase{"LengthShorterThanList", RawList({{kChannel, 0, 1, {7}}, {kSync, 0, 1, {1}}}), 9,
             kSync, -1},
    WalkCase{"OddLengthOneByte", Bytes{kSync}, 0, kSync, -1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vz
