// Opening the device on both Windows families, and the request block on the wire.
#include <cstring>

#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

TEST_F(DriverTest, NtSearchLeavesNoNameBehindForAbsentDevices) {
    device.presentDevices = {"\\\\.\\DAVUZIRO3"};
    ASSERT_EQ(OpenDriver(driver), 0);
    EXPECT_STREQ(driver.dosName, "DAVUZIRO3");
    CloseDriver(driver);
    const std::vector<std::string> expected = {
        "version",
        "define 1 DAVUZIRO1 \\Device\\DAVUZIRO1",
        "open \\\\.\\DAVUZIRO1",
        "define 2 DAVUZIRO1 (none)",
        "define 1 DAVUZIRO2 \\Device\\DAVUZIRO2",
        "open \\\\.\\DAVUZIRO2",
        "define 2 DAVUZIRO2 (none)",
        "define 1 DAVUZIRO3 \\Device\\DAVUZIRO3",
        "open \\\\.\\DAVUZIRO3",
        "close 100",
        "define 2 DAVUZIRO3 (none)",
    };
    EXPECT_EQ(device.log, expected);
    EXPECT_EQ(clock.Yields(), 3u);
}

TEST_F(DriverTest, Windows95OpensItsOneNameAndRemovesNoDosName) {
    device.version = {kPlatformWindows95, 4};
    device.presentDevices = {"\\\\.\\ZERUVE"};
    ASSERT_EQ(OpenDriver(driver), 0);
    CloseDriver(driver);
    const std::vector<std::string> expected = {"version", "open \\\\.\\ZERUVE", "close 100"};
    EXPECT_EQ(device.log, expected);
}

struct OpenCase {
    const char* name;
    DriverVariant variant;
    SystemVersion version;
    int expected;
    size_t ntTries;
};

class OpenDriverPlatforms : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenDriverPlatforms, ChoosesThePathByPlatformAndVariant) {
    const OpenCase& c = GetParam();
    ScriptedDevice device;
    VirtualClock clock;
    NullCardHost host;
    Driver driver(device, clock, host, c.variant);
    device.version = c.version;
    driver.card.cardInitialised = 1;
    EXPECT_EQ(OpenDriver(driver), c.expected);
    size_t tries = 0;
    for (const auto& line : device.log) {
        tries += line.rfind("open \\\\.\\DAVUZIRO", 0) == 0;
    }
    EXPECT_EQ(tries, c.ntTries);
    // The tool counts a fresh channel as not initialised by it; the monitor keeps no such flag.
    EXPECT_EQ(driver.card.cardInitialised, c.variant == DriverVariant::kTool ? 0 : 1);
    EXPECT_EQ(clock.Yields(), c.variant == DriverVariant::kTool ? c.ntTries : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenDriverPlatforms,
    ::testing::Values(
        OpenCase{"ToolNtNoDevice", DriverVariant::kTool, {kPlatformWindowsNt, 4}, -1, 999},
        OpenCase{"ToolNt3", DriverVariant::kTool, {kPlatformWindowsNt, 3}, -1, 999},
        OpenCase{"ToolWin32sOld", DriverVariant::kTool, {kPlatformWin32s, 3}, -1, 999},
        OpenCase{"ToolOtherPlatform", DriverVariant::kTool, {kPlatformWin32s, 4}, -1, 0},
        OpenCase{"MonitorOtherPlatform", DriverVariant::kMonitor, {kPlatformWin32s, 4}, -1, 999},
        OpenCase{"Windows95NoDevice", DriverVariant::kMonitor, {kPlatformWindows95, 4}, -1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriverTest, ReopeningClosesTheOldHandleFirst) {
    Open();
    Open();
    EXPECT_EQ(device.OpenHandles(), 1u);
    EXPECT_EQ(driver.handle, 101);
}

TEST_F(DriverTest, RequestBlockCarriesCommandCardIndexLengthAndPresetResult) {
    Open();
    uint8_t data[3] = {0xAA, 0xBB, 0xCC};
    device.Then(Answer(7));
    EXPECT_EQ(DriverCommand(driver, 18, 0, sizeof data, data, sizeof data, 2), 7);
    const auto& block = device.sentBlocks.back();
    ASSERT_EQ(block.size(), 2016u);
    const uint8_t header[16] = {18, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::memcmp(block.data(), header, 16), 0);
    EXPECT_EQ(block[16], 0xAA);
    EXPECT_EQ(block[18], 0xCC);
    EXPECT_EQ(device.sentInputs.back(), (std::vector<uint8_t>{0x01, 0x00, 0x00, 0xFF}));
}

TEST_F(DriverTest, LengthAboveTwoThousandIsRefusedWithoutACall) {
    Open();
    std::vector<uint8_t> buffer(2001);
    EXPECT_EQ(DriverCommand(driver, 3, 0, 2001, buffer.data(), buffer.size()), -9);
    EXPECT_TRUE(device.sentBlocks.empty());
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(DriverCommand(driver, 3, 0, 2000, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(device.sentBlocks.size(), 1u);
}

TEST_F(DriverTest, NoMoreItemsStillCopiesBackAndReturnsTheResult) {
    Open();
    device.Then([](ScriptedDevice::Request& r) {
        r.data[0] = 'x';
        r.length = 1;
        r.result = 2;
        r.fail = true;
        r.lastError = kErrorNoMoreItems;
    });
    uint8_t buffer[4] = {};
    EXPECT_EQ(DriverCommand(driver, 22, 0, 0, buffer, sizeof buffer), 2);
    EXPECT_EQ(buffer[0], 'x');
}

TEST_F(DriverTest, OtherIoControlFailureIsAChannelFailureWithItsText) {
    Open();
    device.Then(FailIoControl(5));
    uint8_t buffer[4] = {};
    EXPECT_EQ(DriverCommand(driver, 2, 0, 0, buffer, sizeof buffer), -9);
    EXPECT_EQ(reports, (std::vector<std::string>{"-9 DeviceIoControl Error:  5"}));
}

TEST_F(DriverTest, ReplyLengthIsBoundedByTheFieldLimitAndTheCallersBuffer) {
    Open();
    device.Then([](ScriptedDevice::Request& r) {
        std::memset(r.data, 'z', 2000);
        r.length = 2001;
        r.result = 4;
    });
    uint8_t small[8] = {};
    EXPECT_EQ(DriverCommand(driver, 2, 0, 0, small, sizeof small), 4);
    EXPECT_EQ(small[0], 0);

    device.Then(AnswerBytes(std::vector<uint8_t>(2000, 'z')));
    uint8_t guarded[12] = {};
    EXPECT_EQ(DriverCommand(driver, 2, 0, 0, guarded, 8), 0);
    EXPECT_EQ(guarded[7], 'z');
    EXPECT_EQ(guarded[8], 0) << "copied past the capacity given";
}

}  // namespace
}  // namespace vz
