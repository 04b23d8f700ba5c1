// The device on both Windows families, the request block, and parameter lists malformed or not.
#include <memory>

#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

TEST_F(DriverTest, NtSearchLeavesNoNameBehindForAbsentDevices) {
    device.present = {"\\\\.\\DAVUZIRO2"};
    ASSERT_EQ(OpenDriver(driver), 0);
    EXPECT_STREQ(driver.dosName, "DAVUZIRO2");
    ASSERT_EQ(OpenDriver(driver), 0);  // a reopened channel replaces the old one
    CloseDriver(driver);
    const std::string search =
        "define 1 DAVUZIRO1 \\Device\\DAVUZIRO1,open \\\\.\\DAVUZIRO1,define 2 DAVUZIRO1 -,"
        "define 1 DAVUZIRO2 \\Device\\DAVUZIRO2,open \\\\.\\DAVUZIRO2,";
    EXPECT_EQ(device.log, search + "close 100,define 2 DAVUZIRO2 -," + search +
                              "close 101,define 2 DAVUZIRO2 -,");
    EXPECT_EQ(clock.Yields(), 4u);
    EXPECT_TRUE(device.open.empty());
}

struct OpenCase {
    const char* name;
    DriverVariant variant;
    SystemVersion version;
    uint64_t yields;
    const char* logEnd;  // the last device calls
};

using OpenDriverPlatforms = CaseTable<OpenCase, DriverTest>;

// Only the Windows 95 device is present, so every other path fails.
TEST_P(OpenDriverPlatforms, ChoosesThePathByPlatformAndVariant) {
    const OpenCase& c = GetParam();
    driver.variant = c.variant;
    device.version = c.version;
    device.present = {"\\\\.\\ZERUVE"};
    driver.card.cardInitialised = 1;
    EXPECT_EQ(OpenDriver(driver), c.version.IsWindows95Family() ? 0 : -1);
    EXPECT_TRUE(device.log.ends_with(c.logEnd));
    // The tool counts a fresh channel as not initialised by it; the monitor keeps no such flag.
    EXPECT_EQ(driver.card.cardInitialised, c.variant == DriverVariant::kTool ? 0 : 1);
    EXPECT_EQ(clock.Yields(), c.yields);
}

const char kLastNtName[] = "open \\\\.\\DAVUZIRO999,define 2 DAVUZIRO999 -,";
const OpenCase kOpenCases[] = {
    {"ToolNt", DriverVariant::kTool, {kPlatformWindowsNt, 4}, 999, kLastNtName},
    {"ToolWin32sOld", DriverVariant::kTool, {kPlatformWin32s, 3}, 999, kLastNtName},
    {"ToolOtherPlatform", DriverVariant::kTool, {kPlatformWin32s, 4}, 0, ""},
    {"Monitor", DriverVariant::kMonitor, {kPlatformWin32s, 4}, 0, kLastNtName},
    {"Windows95", DriverVariant::kMonitor, {kPlatformWindows95, 4}, 0, "open \\\\.\\ZERUVE,"},
};
INSTANTIATE_TEST_SUITE_P(Cases, OpenDriverPlatforms, ::testing::ValuesIn(kOpenCases), kCaseName);

// The header carries command, card index, length and a preset result; at most 2000 bytes go
// out, and a reply is copied back no further than its own length field and the caller's room.
// "No more items" still brings the reply back; any other failure is a lost channel.
TEST_F(OpenDriverTest, RequestBlockAndItsBounds) {
    Bytes data(2001, 0xAA);
    Script({Answer(7), Answer(0), Answer(4, Bytes(2000, 'z')), Answer(0, Bytes(2001, 'y'))});
    EXPECT_EQ(DriverCommand(driver, kCmdTransmitPing, 0, 3, data.data(), 3, 2), 7);
    const Bytes header = {
        kCmdTransmitPing, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(device.block, header + Bytes(3, 0xAA) + Bytes(kRequestDataSize - 3));
    EXPECT_EQ(device.input, (Bytes{0x01, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 2001, data.data(), data.size()),
              kStatusChannelLost);
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 2000, data.data(), data.size()), 0);
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 0, data.data(), 8), 4);
    EXPECT_EQ(Bytes(data.begin() + 7, data.begin() + 9), (Bytes{'z', 0xAA}));
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverVersion, 0, 0, data.data(), 8), 0);
    EXPECT_EQ(data[0], 'z');  // a reply longer than the data area is not taken
    EXPECT_EQ(device.commands.size(), 4u);

    Script({Answer(kStatusNoEcho, {'x'}, kErrorNoMoreItems), Answer(0, {}, 5)});
    EXPECT_EQ(DriverCommand(driver, kCmdGetPingEcho, 0, 0, data.data(), 4), kStatusNoEcho);
    EXPECT_EQ(data[0], 'x');
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverVersion, 0, 0, data.data(), 4),
              kStatusChannelLost);
    EXPECT_EQ(reports, Strings{"-9 DeviceIoControl Error:  5"});
}

// Neither an unknown id nor an entry without room for the terminator goes in, nor changes a thing.
TEST(ParameterList, AppendRefusesUnknownIdsAndOverflow) {
    uint8_t bytes[19] = {};
    uint16_t offset = 0;
    const uint8_t value[12] = {};
    for (uint16_t id : {0, kMaxParameterId + 1, int(kParamMasterName)}) {
        EXPECT_FALSE(AppendParameter(bytes, sizeof bytes, offset, id, value));
    }
    EXPECT_EQ(offset, 0);
    EXPECT_TRUE(AppendParameter(bytes, sizeof bytes, offset, kParamMasterAddress, value));
}

struct WalkCase {
    const char* name;
    Bytes list;
    uint16_t wanted;
    int expected;
};

using GetfromDataListCases = ::testing::TestWithParam<WalkCase>;

// Exactly the list's bytes on the heap, so the sanitized build catches a read past them; after
// them in a second copy a handled entry for the wanted id, so a plain build catches it too.
TEST_P(GetfromDataListCases, FindsOnlyHandledEntriesInsideTheList) {
    const WalkCase& c = GetParam();
    const uint32_t length = uint32_t(c.list.size());
    const Bytes full = c.list + Entry(c.wanted, 0, 1, Bytes(12, 0xAB));
    auto exact = std::make_unique<uint8_t[]>(length);
    std::copy_n(full.begin(), length, exact.get());
    uint8_t out[12] = {0xCD};
    EXPECT_EQ(GetfromDataList(exact.get(), length, c.wanted, out), c.expected);
    out[0] = 0xCD;
    EXPECT_EQ(GetfromDataList(full.data(), length, c.wanted, out), c.expected);
    EXPECT_EQ(out[0], c.expected == 0 ? 1 : 0xCD);
}

const uint16_t kSync = kParamSyncState;
const uint16_t kChannel = kParamChannel;

const WalkCase kWalkCases[] = {
    {"WalkUsesTableNotLengthField", Entry(kChannel, 0, 9, {7}) + Entry(kSync, 0, 0, {1}), kSync, 0},
    {"MissingStopsAtTerminator", Entry(kChannel, 0, 1, {7}) + Bytes{0, 0}, kSync, -1},
    {"StaleEntryAfterTerminator",
     Entry(kChannel, 0, 1, {7}) + Bytes{0, 0} + Entry(kSync, 0, 1, {1}), kSync, -1},
    {"StatusLeftUnset", Entry(kSync, kParameterStatusUnset, 1, {1}), kSync, -1},
    {"IdAboveTable", Entry(kMaxParameterId + 1, 0, 1, {1}) + Entry(kSync, 0, 1, {1}), kSync, -1},
    {"WantedIdOutOfRange", Entry(kSync, 0, 1, {1}), kMaxParameterId + 1, -1},
    {"EntryCutShortByOneByte", Entry(kSync, 0, 1, {}), kSync, -1},
    {"ListEndsInsideAnEntryHeader", Entry(kChannel, 0, 1, {7}) + Bytes{kSync, 0}, kSync, -1},
    {"OddLengthOneByte", Bytes{kSync}, kSync, -1},
};

INSTANTIATE_TEST_SUITE_P(Cases, GetfromDataListCases, ::testing::ValuesIn(kWalkCases), kCaseName);

}  // namespace
}  // namespace vz
