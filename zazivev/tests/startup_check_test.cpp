// The start-up check's outcomes as the user sees them: report text, buttons, focus, next pass.
#include <regex>

#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

const int kAllButtons[] = {kIdOk,          IDC_HELP_COMMAND,     IDC_MAIN_MASTERS,
                           IDC_MAIN_SNOOP, IDC_MAIN_SITE_SURVEY, IDC_MAIN_CONFIGURATION};

std::string WithLine(std::string scenario, const std::string& from, const std::string& to) {
    scenario.replace(scenario.find(from), from.size(), to);
    return scenario;
}

struct ButtonsCase {
    std::vector<int> enabled;
};

void ExpectButtons(HeadlessHost& main, const std::vector<int>& enabled) {
    for (int id : kAllButtons) {
        const bool expected = std::find(enabled.begin(), enabled.end(), id) != enabled.end();
        EXPECT_EQ(main.Control(id).enabled, expected) << "button " << id;
    }
}

class StartupCheck : public ToolTest {};

TEST_F(StartupCheck, SynchronisedCardGivesTheFullReportAndEveryButton) {
    InstallAdapter();
    Start();
    ui.RunFor(100);
    EXPECT_EQ(Report(),
              "Checking for Vezurez driver...\n\n"
              "Vezurez driver version V1.2.4 accessed successfully.\n\n"
              "Node address:  00a0d41a2b3c  ROM version:  V1.49b /0+\n\n"
              "Synchronized to 00a0d4010001  Lobby");
    ExpectButtons(*main, {kAllButtons, kAllButtons + 6});
    EXPECT_EQ(main->Focus(), IDC_MAIN_MASTERS);
    EXPECT_FALSE(main->HasTimer(1));
    EXPECT_EQ(ui.CaptureWindow(), 0u);
    EXPECT_EQ(emulator->Config().inactivity, 0) << "the time-out is off while the tool runs";
    EXPECT_EQ(emulator->Counters().requests[kCmdRestartDriver], 1u);
}

TEST_F(StartupCheck, NoMasterLeavesSiteSurveyDisabled) {
    InstallAdapter();
    Start(WithLine(kQuickScenario, "signal=-48", "signal=-48 security-id=\"other\""));
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with(
        "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0+"
        "\n\nCould not find a Master to synchronize with.  Verify that your Domain and Security "
        "ID match those of a Master."));
    ExpectButtons(
        *main, {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_MASTERS, IDC_MAIN_SNOOP, IDC_MAIN_CONFIGURATION});
    EXPECT_GE(clock.NowMs(), 5000u) << "InitCard waited for a Master";
}

struct NoDriverCase {
    const char* name;
    const char* cardType;
    const char* system;
    bool protocolHint;
    bool retries;
};

class NoDriver : public ToolTest, public ::testing::WithParamInterface<NoDriverCase> {};

TEST_P(NoDriver, ReportsTheDriverMissingAndRetriesOnlyForAPcCard) {
    const NoDriverCase& c = GetParam();
    InstallAdapter(c.cardType);
    std::string scenario = WithLine(kQuickScenario, "device davuziro 1", "device zeruve");
    Start(WithLine(scenario, "system nt 4", c.system));
    ui.RunFor(100);
    std::string expected =
        "\n\nUnable to access Vezurez driver.  Verify that the driver is installed and "
        "configured properly.  ";
    if (c.protocolHint)
        expected += "Also verify that the VezurezAPI protocol has been installed.";
    EXPECT_EQ(Report(), expected);
    ExpectButtons(*main, {kIdOk, IDC_HELP_COMMAND});
    EXPECT_EQ(main->HasTimer(1), c.retries);
    if (c.retries)
        EXPECT_EQ(main->Timers().at(1), 10000u);
    EXPECT_EQ(ui.CaptureWindow(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoDriver,
    ::testing::Values(NoDriverCase{"PcCard", "PCMCIA", "system nt 4", true, true},
                      NoDriverCase{"OtherAdapter", "ISA", "system nt 4", true, false},
                      NoDriverCase{"LowerCasePcmcia", "pcmcia", "system nt 4", true, false},
                      NoDriverCase{"WindowsNt3", "PCMCIA", "system nt 3", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct VersionCase {
    const char* version;
    bool refused;
};

class DriverVersions : public ToolTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(DriverVersions, OnlyOnePointZeroIsRefused) {
    InstallAdapter();
    Start(WithLine(kQuickScenario, "driver=\"V1.2.4\"",
                   std::string("driver=\"") + GetParam().version + "\""));
    std::string errorTitle, errorText;
    if (GetParam().refused) {
        ui.ExpectModal(IDD_ERROR, [&](Dialog&, HeadlessHost& error) {
            errorTitle = error.GetItemText(IDC_ERROR_TITLE);
            errorText = error.GetItemText(IDC_ERROR_TEXT);
            error.Click(kIdOk);
        });
    }
    ui.RunFor(100);
    ui.Settle();
    if (GetParam().refused) {
        EXPECT_EQ(errorTitle, "Driver Initialization");
        EXPECT_EQ(errorText, std::string("Incorrect Driver Version ") + GetParam().version +
                                 "\nThe Site Survey and Configuration Tool will only run with "
                                 "Version 1.2 or later.");
        EXPECT_TRUE(main->Ended());
        EXPECT_EQ(main->EndCode(), MainDialog::kEndRefusedDriver);
        EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], 0u);
        EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 0u);
    } else {
        EXPECT_FALSE(main->Ended());
        EXPECT_NE(Report().find("Synchronized to"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DriverVersions,
                         ::testing::Values(VersionCase{"1.0", true}, VersionCase{"1.05", true},
                                           VersionCase{"V1.0.3", true}, VersionCase{"V1.1", false},
                                           VersionCase{"1.2", false}, VersionCase{"v1.0", false},
                                           VersionCase{"", false}));

TEST_F(StartupCheck, ChannelFailureOfTheRestartRetriesAfterOneSecond) {
    InstallAdapter();
    Start();
    emulator->Control("fault fail cmd=11 status=-9");
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with("Vezurez driver version V1.2.4 accessed successfully."));
    ExpectButtons(*main, {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_CONFIGURATION});
    EXPECT_EQ(main->Timers().at(1), 1000u);
    EXPECT_EQ(ui.CaptureWindow(), 0u) << "released on every way out of the check";
    ui.RunFor(1000);
    EXPECT_TRUE(Report().ends_with("Synchronized to 00a0d4010001  Lobby"));
    EXPECT_EQ(emulator->Counters().requests[kCmdRestartDriver], 2u);
}

TEST_F(StartupCheck, OtherRestartFailureWaitsForConfiguration) {
    InstallAdapter();
    Start();
    emulator->Control("fault fail cmd=11 status=-3");
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with("accessed successfully."));
    EXPECT_FALSE(main->HasTimer(1));
    ExpectButtons(*main, {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_CONFIGURATION});
    EXPECT_EQ(ui.CaptureWindow(), 0u);

    ui.ExpectModal(IDD_CONFIGURATION,
                   [](Dialog&, HeadlessHost& config) { config.Click(kIdCancel); });
    main->Click(IDC_MAIN_CONFIGURATION);
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with("Synchronized to 00a0d4010001  Lobby"));
    EXPECT_EQ(main->Focus(), IDC_MAIN_CONFIGURATION);
}

TEST_F(StartupCheck, InitCardChannelFailureRestartsTheDriverInTheNextPass) {
    InstallAdapter();
    Start();
    emulator->Control("fault fail cmd=13 status=-9");
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with("accessed successfully."));
    EXPECT_EQ(dialog->needsDriverReset, 1);
    EXPECT_FALSE(main->HasTimer(1));

    ui.ExpectModal(IDD_CONFIGURATION,
                   [](Dialog&, HeadlessHost& config) { config.Click(kIdCancel); });
    main->Click(IDC_MAIN_CONFIGURATION);
    ui.RunFor(100);
    EXPECT_EQ(emulator->Counters().requests[kCmdRestartDriver], 2u);
    EXPECT_TRUE(Report().ends_with("Synchronized to 00a0d4010001  Lobby"));
}

TEST_F(StartupCheck, ExitWithoutAnInitialisedCardReleasesNothing) {
    InstallAdapter("ISA");
    Start(WithLine(kQuickScenario, "device davuziro 1", "device zeruve"));
    ui.RunFor(100);
    main->Click(kIdOk);
    ui.Settle();
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 0u);
}

TEST_F(StartupCheck, FocusForALostSiteSurveyGoesToMasters) {
    InstallAdapter();
    Start();
    ui.RunFor(100);
    ASSERT_EQ(emulator->Control("silence 00a0d4010001").rfind("OK", 0), 0u);
    ui.ExpectModal(IDD_SITE_SURVEY, [](Dialog&, HeadlessHost& survey) { survey.Click(kIdOk); });
    main->Click(IDC_MAIN_SITE_SURVEY);
    ui.RunFor(100);
    EXPECT_TRUE(Report().ends_with("match those of a Master."));
    EXPECT_FALSE(Enabled(IDC_MAIN_SITE_SURVEY));
    EXPECT_EQ(main->Focus(), IDC_MAIN_MASTERS);
}

TEST_F(StartupCheck, CountryCodeShowsOnlyItsLowSixBits) {
    InstallAdapter();
    Start(WithLine(kQuickScenario, "country=0", "country=197"));
    ui.RunFor(100);
    EXPECT_NE(Report().find("ROM version:  V1.49b /5+"), std::string::npos) << Report();
}

TEST_F(StartupCheck, AlternateMasterWaitsTenSecondsForAMaster) {
    InstallAdapter("PCMCIA", 1);
    Start(WithLine(kQuickScenario, "signal=-48", "signal=-48 security-id=\"other\""));
    ui.RunFor(100);
    EXPECT_GE(clock.NowMs(), 10000u);
    EXPECT_LT(clock.NowMs(), 11000u);
}

}  // namespace
}  // namespace vz
