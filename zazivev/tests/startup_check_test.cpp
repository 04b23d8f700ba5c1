// The start-up check's outcomes as the user sees them: report text, buttons, retries, next pass.
#include "driver/card_text.h"
#include "program/card_status_texts.h"
#include "zazivev/tests/tool_fixture.h"
#include "zazivev/texts.h"

namespace vz {
namespace {

const std::vector<int> kEveryButton = {
    kIdOk,          IDC_HELP_COMMAND,     IDC_MAIN_MASTERS,
    IDC_MAIN_SNOOP, IDC_MAIN_SITE_SURVEY, IDC_MAIN_CONFIGURATION};
const std::vector<int> kAllButSurvey = {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_MASTERS, IDC_MAIN_SNOOP,
                                        IDC_MAIN_CONFIGURATION};
const std::vector<int> kFailedCheckButtons = {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_CONFIGURATION};
const std::vector<int> kNoDriverButtons = {kIdOk, IDC_HELP_COMMAND};

const std::string kAccessed =
    "Checking for Vezurez driver...\n\nVezurez driver version V1.2.4 accessed successfully.";
const std::string kNode = "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0+";
const std::string kSynchronised = "\n\nSynchronized to 00a0d4010001  Lobby";
using card_status_texts::kNoMaster;
const std::string kNoDriver =
    "\n\nUnable to access Vezurez driver.  Verify that the driver is installed and configured "
    "properly.  ";
const std::string kProtocolHint = "Also verify that the VezurezAPI protocol has been installed.";

const std::string kOtherSecurityId =
    Edited(kQuickScenario, "signal=-48", "signal=-48 security-id=\"other\"");
std::string NoDriverOn(const char* system) {
    return Edited(Edited(kQuickScenario, "device davuziro 1", "device zeruve"), "system nt 4",
                  system);
}

struct CheckCase {
    const char* what;
    std::string scenario;
    const char* cardType;
    int stationType;
    const char* fault;  // null: none
    std::string report;
    const std::vector<int>& enabled;
    uint32_t retryMs;   // 0: no retry timer
    uint32_t waitedMs;  // at least this long for a Master
};

class Check : public ToolTest, public ::testing::WithParamInterface<CheckCase> {};

// After a failure of the driver channel the next pass (by the retry timer, or after the
// Configuration dialog) restarts the driver and finds the Master.
TEST_P(Check, ReportsWhatItFoundAndEnablesWhatCanWork) {
    const CheckCase& c = GetParam();
    InstallAdapter(c.cardType, c.stationType);
    Start(c.scenario);
    if (c.fault != nullptr) {
        InjectFault(c.fault);
    }
    ui.RunFor(100);
    EXPECT_EQ(Report(), c.report);
    for (int id : kEveryButton) {
        EXPECT_EQ(Enabled(id), std::count(c.enabled.begin(), c.enabled.end(), id) == 1) << id;
    }
    EXPECT_EQ(main->HasTimer(1) ? main->Timers().at(1) : 0, c.retryMs);
    EXPECT_EQ(ui.CaptureWindow(), 0u) << "released on every way out of the check";
    EXPECT_GE(clock.NowMs(), c.waitedMs);
    EXPECT_LT(clock.NowMs(), c.waitedMs + 2000);
    if (c.fault == nullptr) {
        return;
    }
    if (c.retryMs == 0) {
        ui.ExpectModal(IDD_CONFIGURATION,
                       [](Dialog&, HeadlessHost& config) { config.Click(kIdCancel); });
        main->Click(IDC_MAIN_CONFIGURATION);
    }
    ui.RunFor(c.retryMs + 100);
    EXPECT_EQ(Report(), kAccessed + kNode + kSynchronised);
    EXPECT_EQ(emulator->Counters().requests[kCmdRestartDriver], 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Check,
    ::testing::Values(
        CheckCase{"Synchronised", kQuickScenario, "PCMCIA", 0, nullptr,
                  kAccessed + kNode + kSynchronised, kEveryButton, 0, 0},
        CheckCase{"NoMaster", kOtherSecurityId, "PCMCIA", 0, nullptr, kAccessed + kNode + kNoMaster,
                  kAllButSurvey, 0, 5000},
        CheckCase{"AlternateMasterWaitsLonger", kOtherSecurityId, "PCMCIA", 1, nullptr,
                  kAccessed + kNode + kNoMaster, kAllButSurvey, 0, 10000},
        CheckCase{"CountryCodeLowSixBits", Edited(kQuickScenario, "country=0", "country=197"),
                  "PCMCIA", 0, nullptr, kAccessed + Edited(kNode, "/0+", "/5+") + kSynchronised,
                  kEveryButton, 0, 0},
        CheckCase{"NoDriverPcCard", NoDriverOn("system nt 4"), "PCMCIA", 0, nullptr,
                  kNoDriver + kProtocolHint, kNoDriverButtons, 10000, 0},
        CheckCase{"NoDriverOtherAdapter", NoDriverOn("system nt 4"), "ISA", 0, nullptr,
                  kNoDriver + kProtocolHint, kNoDriverButtons, 0, 0},
        CheckCase{"NoDriverLowerCasePcmcia", NoDriverOn("system nt 4"), "pcmcia", 0, nullptr,
                  kNoDriver + kProtocolHint, kNoDriverButtons, 0, 0},
        CheckCase{"NoDriverWindowsNt3", NoDriverOn("system nt 3"), "PCMCIA", 0, nullptr, kNoDriver,
                  kNoDriverButtons, 10000, 0},
        CheckCase{"RestartLostTheChannel", kQuickScenario, "PCMCIA", 0,
                  "fault fail cmd=11 status=-9", kAccessed, kFailedCheckButtons, 1000, 0},
        CheckCase{"RestartFailed", kQuickScenario, "PCMCIA", 0, "fault fail cmd=11 status=-3",
                  kAccessed, kFailedCheckButtons, 0, 0},
        CheckCase{"InitCardLostTheChannel", kQuickScenario, "PCMCIA", 0,
                  "fault fail cmd=13 status=-9", kAccessed, kFailedCheckButtons, 0, 0}),
    [](const auto& info) { return std::string(info.param.what); });

// A card the check never initialised is not released on the way out.
TEST_F(ToolTest, ExitAfterAFailedInitReleasesNothing) {
    InstallAdapter();
    Start(kQuickScenario);
    InjectFailure(kCmdInitCard, kStatusFailed, "count=always");
    ui.RunFor(100);
    main->Click(kIdOk);
    ui.Settle();
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 0u);
    EXPECT_EQ(driver->handle, kInvalidDeviceHandle);
}

class DriverVersions : public ToolTest,
                       public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(DriverVersions, OnlyOnePointZeroIsRefused) {
    const auto& [version, refused] = GetParam();
    InstallAdapter();
    Start(Edited(kQuickScenario, "V1.2.4", version));
    std::vector<std::string> error;
    ui.ExpectModal(IDD_ERROR, [&](Dialog&, HeadlessHost& box) {
        error = Texts(box, {IDC_ERROR_TITLE, IDC_ERROR_TEXT});
        box.Click(kIdOk);
    });
    ui.RunFor(100);
    ui.Settle();
    EXPECT_EQ(main->Ended(), refused);
    if (refused) {
        EXPECT_EQ(error,
                  (std::vector<std::string>{texts::kDriverRefusedTitle,
                                            FormatText(texts::kDriverRefusedText, version)}));
        EXPECT_EQ(main->EndCode(), MainDialog::kEndRefusedDriver);
        EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], 0u);
        EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DriverVersions,
                         ::testing::Values(std::pair{"1.0", true}, std::pair{"V1.0.3", true},
                                           std::pair{"V1.1", false}, std::pair{"1.2", false},
                                           std::pair{"v1.0", false}));

}  // namespace
}  // namespace vz
