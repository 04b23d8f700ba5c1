// Opening the device on both Windows families, and the request block on the wire.
#include <algorithm>

#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

TEST_F(DriverTest, NtSearchLeavesNoNameBehindForAbsentDevices) {
    device.presentDevices = {"\\\\.\\DAVUZIRO2"};
    Open();
    EXPECT_STREQ(driver.dosName, "DAVUZIRO2");
    Open();  // a reopened channel replaces the old one
    CloseDriver(driver);
    const std::string search =
        "define 1 DAVUZIRO1 \\Device\\DAVUZIRO1,open \\\\.\\DAVUZIRO1,define 2 DAVUZIRO1 -,"
        "define 1 DAVUZIRO2 \\Device\\DAVUZIRO2,open \\\\.\\DAVUZIRO2,";
    std::string log;
    for (const std::string& line : device.log) {
        log += line + ",";
    }
    EXPECT_EQ(log, "version," + search + "close 100,define 2 DAVUZIRO2 -,version," + search +
                       "close 101,define 2 DAVUZIRO2 -,");
    EXPECT_EQ(clock.Yields(), 4u);
    EXPECT_EQ(device.OpenHandles(), 0u);
}

struct OpenCase {
    const char* name;
    DriverVariant variant;
    SystemVersion version;
    size_t ntTries;  // the Windows 95 device opens when no NT name is tried
};

class OpenDriverPlatforms : public DriverTest, public ::testing::WithParamInterface<OpenCase> {
  protected:
    OpenDriverPlatforms() : DriverTest(GetParam().variant) {}
};

TEST_P(OpenDriverPlatforms, ChoosesThePathByPlatformAndVariant) {
    const OpenCase& c = GetParam();
    device.version = c.version;
    device.presentDevices = {"\\\\.\\ZERUVE"};
    driver.card.cardInitialised = 1;
    EXPECT_EQ(OpenDriver(driver), c.version.IsWindows95Family() ? 0 : -1);
    EXPECT_EQ(std::count_if(device.log.begin(), device.log.end(),
                            [](const std::string& line) {
                                return line.rfind("open \\\\.\\DAVUZIRO", 0) == 0;
                            }),
              c.ntTries);
    // The tool counts a fresh channel as not initialised by it; the monitor keeps no such flag.
    bool tool = c.variant == DriverVariant::kTool;
    EXPECT_EQ(driver.card.cardInitialised, tool ? 0 : 1);
    EXPECT_EQ(clock.Yields(), tool ? c.ntTries : 0u);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, OpenDriverPlatforms, ::testing::Values(
    OpenCase{"ToolNt", DriverVariant::kTool, {kPlatformWindowsNt, 4}, 999},
    OpenCase{"ToolWin32sOld", DriverVariant::kTool, {kPlatformWin32s, 3}, 999},
    OpenCase{"ToolOtherPlatform", DriverVariant::kTool, {kPlatformWin32s, 4}, 0},
    OpenCase{"Monitor", DriverVariant::kMonitor, {kPlatformWin32s, 4}, 999},
    OpenCase{"Windows95", DriverVariant::kMonitor, {kPlatformWindows95, 4}, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The header carries command, card index, length and a preset result; at most 2000 bytes go
// out, and a reply is copied back no further than its own length field and the caller's room.
TEST_F(OpenDriverTest, RequestBlockAndItsBounds) {
    Bytes data(2001, 0xAA);
    device.Then(Answer(7));
    EXPECT_EQ(DriverCommand(driver, kCmdTransmitPing, 0, 3, data.data(), 3, 2), 7);
    // clang-format off
    const Bytes header = {kCmdTransmitPing, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0,
                          0xFF, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0};
    // clang-format on
    EXPECT_EQ(Bytes(device.sentBlocks[0].begin(), device.sentBlocks[0].begin() + 20), header);
    EXPECT_EQ(device.sentBlocks[0].size(), kRequestBlockSize);
    EXPECT_EQ(device.sentInputs[0], (Bytes{0x01, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 2001, data.data(), data.size()),
              kStatusChannelLost);
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 2000, data.data(), data.size()), 0);
    device.Then(AnswerBytes(Bytes(2000, 'z'), 4));
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverData, 0, 0, data.data(), 8), 4);
    EXPECT_EQ(Bytes(data.begin() + 7, data.begin() + 9), (Bytes{'z', 0xAA}));
    device.Then([](ScriptedDevice::Request& r) {
        r.data[0] = 'y';
        r.length = 2001;
    });
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverVersion, 0, 0, data.data(), 8), 0);
    EXPECT_EQ(data[0], 'z');
    EXPECT_EQ(device.sentBlocks.size(), 4u);
    EXPECT_TRUE(reports.empty());
}

// "No more items" still brings the reply back; any other failure is a lost channel.
TEST_F(OpenDriverTest, IoControlFailures) {
    device.Then([](ScriptedDevice::Request& r) {
        r.data[0] = 'x';
        r.length = 1;
        r.result = kStatusNoEcho;
        r.fail = true;
        r.lastError = kErrorNoMoreItems;
    });
    device.Then(FailIoControl(5));
    uint8_t buffer[4] = {};
    EXPECT_EQ(DriverCommand(driver, kCmdGetPingEcho, 0, 0, buffer, sizeof buffer), kStatusNoEcho);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(DriverCommand(driver, kCmdGetDriverVersion, 0, 0, buffer, sizeof buffer),
              kStatusChannelLost);
    EXPECT_EQ(reports, Strings{"-9 DeviceIoControl Error:  5"});
}

}  // namespace
}  // namespace vz
