// The information window's text, in its live and static forms, and the right-button press.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

constexpr char kDriverLine[] = "Vezurez driver version V1.2.4 accessed successfully.";
constexpr char kSynchronised[] = "\n\nSynchronized to 00a0d4010001  Lobby";
constexpr char kNoMaster[] =
    "\n\nCould not find a Master to synchronize with.  Verify that your Domain and Security ID "
    "match those of a Master.";

struct TextCase {
    const char* what;
    bool toolRunning;
    bool synchronised;
    std::string expected;
};

class InformationText : public MonitorTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(InformationText, IsExactAfterARightButtonPress) {
    const TextCase& c = GetParam();
    Start();
    if (!c.synchronised) {
        emulator->Control("silence 00a0d4010001");
        ui.RunFor(1000);
    }
    if (c.toolRunning) {
        ToolStarts();
        ui.RunFor(1000);
    }
    ASSERT_FALSE(window->IsWindowVisible());
    const uint64_t requests = AllRequests();
    TrayMouse(kRightButtonDown);
    EXPECT_EQ(Information(), c.expected);
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ(ui.Foreground(), window->Window());
    // The static form makes no driver call at all.
    EXPECT_EQ(AllRequests() == requests, c.toolRunning);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, InformationText,
    ::testing::Values(
        TextCase{"Live", false, true,
                 std::string(kDriverLine) +
                     "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0" + kSynchronised},
        TextCase{"LiveOutOfRange", false, false,
                 std::string(kDriverLine) +
                     "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0" + kNoMaster},
        TextCase{"Static", true, true,
                 std::string("Utility is running, the data is static.  ") + kDriverLine +
                     "\n\nNode address:  00a0d41a2b3c  ROM version V1.49b /0" + kSynchronised},
        TextCase{"StaticOutOfRange", true, false,
                 std::string("Utility is running, the data is static.  ") + kDriverLine +
                     "\n\nNode address:  00a0d41a2b3c  ROM version V1.49b /0" + kNoMaster}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.what; });

class InformationWindow : public MonitorTest {};

TEST_F(InformationWindow, StartUpTextIsAFreshReadAndAddsTheIconForANamedMaster) {
    Prepare();
    Open();
    EXPECT_EQ(Information(), std::string(kDriverLine) +
                                 "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0" +
                                 kSynchronised);
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ(TrayIconShown(), IDI_LINK_LIT);
    ui.RunFor(100);
    EXPECT_FALSE(window->IsWindowVisible());
}

TEST_F(InformationWindow, FailedReadsShowTheLastGoodValues) {
    Start();
    emulator->Control("fault fail cmd=2 status=-1");
    emulator->Control("fault unset-status cmd=3 param=18 nth=2");
    TrayMouse(kRightButtonDown);
    // The driver version line needs a successful read; the ROM version keeps its last text.
    EXPECT_EQ(Information(), "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0" +
                                 std::string(kSynchronised));
    EXPECT_STREQ(driver->card.driverVersion, "V1.2.4");
    EXPECT_STREQ(driver->card.romVersion, "V1.49b ");
}

TEST_F(InformationWindow, ARenamedMasterUpdatesTheTrayAtOnce) {
    Start();
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    const size_t mark = TrayCallCount();
    TrayMouse(kRightButtonDown);
    EXPECT_EQ(TrayCallsFrom(mark),
              (std::vector<std::string>{"TrayModify 129 icon 129 tip Coverage: Normal.  Master "
                                        "Name: Hall"}));
}

}  // namespace
}  // namespace vz
