// Parameter lists: sizes on the wire and the walk over well-formed and malformed replies.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"

namespace vz {
namespace {

TEST(ParameterList, OneByteEntryIsNineBytesOnTheWire) {
    ParameterList list;
    const uint8_t value = 0x5A;
    ASSERT_TRUE(list.Append(kParamSyncState, &value));
    EXPECT_EQ(list.Length(), 9u);
    const std::vector<uint8_t> wire(list.Bytes(), list.Bytes() + list.Length());
    EXPECT_EQ(wire, (std::vector<uint8_t>{19, 0, 0xFF, 0xFF, 1, 0, 0x5A, 0, 0}));
}

TEST(ParameterList, MasterNodeListIsSixtyFiveBytes) {
    ParameterList list;
    uint8_t scratch[12] = {};
    for (uint16_t id : {20, 6, 21, 22, 23, 19}) {
        ASSERT_TRUE(list.Append(id, scratch));
    }
    EXPECT_EQ(list.Length(), 65u);
}

TEST(ParameterList, AppendRefusesUnknownIdsAndOverflow) {
    uint8_t bytes[16] = {};
    uint16_t offset = 0;
    uint8_t value[12] = {};
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, 25, value));
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, 0, value));
    EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, kParamMasterName, value));
    EXPECT_EQ(offset, 0);
    EXPECT_TRUE(AppendParameter(bytes, sizeof bytes, offset, kParamMasterAddress, value));
}

// Builds a list from raw entries: {id, status, length field, value bytes}.
struct RawEntry {
    uint16_t id;
    uint16_t status;
    uint16_t lengthField;
    std::vector<uint8_t> value;
};

std::vector<uint8_t> RawList(const std::vector<RawEntry>& entries, bool terminate = true) {
    std::vector<uint8_t> list;
    for (const auto& e : entries) {
        uint8_t header[6];
        PutU16(header, e.id);
        PutU16(header + 2, e.status);
        PutU16(header + 4, e.lengthField);
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
    std::vector<uint8_t> list;
    uint32_t lengthOverride;  // 0: the list's size
    uint16_t wanted;
    int expected;
    uint8_t expectedFirstByte;
};

class GetfromDataListCases : public ::testing::TestWithParam<WalkCase> {};

TEST_P(GetfromDataListCases, FindsOnlyHandledEntriesInsideTheList) {
    const WalkCase& c = GetParam();
    // Exactly `length` bytes on the heap, so the sanitized build catches any read past them;
    // the bytes after them in the full list hold a handled entry for the wanted id, so a plain
    // build catches a walk past the length too.
    const uint32_t length = c.lengthOverride ? c.lengthOverride : uint32_t(c.list.size());
    const std::vector<uint8_t> bait = RawList({{c.wanted, 0, 1, std::vector<uint8_t>(12, 0xAB)}});
    std::vector<uint8_t> full(c.list.begin(), c.list.begin() + length);
    full.insert(full.end(), bait.begin(), bait.end());
    auto exact = std::make_unique<uint8_t[]>(length);
    std::copy(full.begin(), full.begin() + length, exact.get());
    uint8_t out[12];
    std::fill(std::begin(out), std::end(out), 0xCD);
    EXPECT_EQ(GetfromDataList(exact.get(), length, c.wanted, out), c.expected);
    std::fill(std::begin(out), std::end(out), 0xCD);
    EXPECT_EQ(GetfromDataList(full.data(), length, c.wanted, out), c.expected);
    EXPECT_EQ(out[0], c.expectedFirstByte);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetfromDataListCases,
    ::testing::Values(
        WalkCase{"Found", RawList({{22, 0, 1, {7}}, {19, 0, 1, {1}}}), 0, 19, 0, 1},
        WalkCase{"WalkUsesTableNotLengthField", RawList({{22, 0, 9, {7}}, {19, 0, 0, {1}}}), 0, 19,
                 0, 1},
        WalkCase{"MissingStopsAtTerminator", RawList({{22, 0, 1, {7}}}), 0, 19, -1, 0xCD},
        WalkCase{"StatusLeftUnset", RawList({{19, 0xFFFF, 1, {1}}}), 0, 19, -1, 0xCD},
        WalkCase{"StatusOtherThanZero", RawList({{19, 1, 1, {1}}}), 0, 19, -1, 0xCD},
        WalkCase{"IdAboveTable", RawList({{25, 0, 1, {1}}, {19, 0, 1, {1}}}), 0, 19, -1, 0xCD},
        WalkCase{"IdFarAboveTable", RawList({{0xFFFF, 0, 1, {1}}}), 0, 19, -1, 0xCD},
        WalkCase{"WantedIdOutOfRange", RawList({{19, 0, 1, {1}}}), 0, 30, -1, 0xCD},
        WalkCase{"TruncatedEntry", RawList({{21, 0, 12, {'a', 'b'}}}, false), 0, 21, -1, 0xCD},
        WalkCase{"UnterminatedRunsOut", RawList({{22, 0, 1, {7}}}, false), 0, 19, -1, 0xCD},
        WalkCase{"LengthShorterThanList", RawList({{22, 0, 1, {7}}, {19, 0, 1, {1}}}), 9, 19, -1,
                 0xCD},
        WalkCase{"EmptyList", std::vector<uint8_t>{}, 0, 19, -1, 0xCD},
        WalkCase{"OddLengthOneByte", std::vector<uint8_t>{19}, 0, 19, -1, 0xCD}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vz
