// The information window's text, in its live and static forms, and the right-button press.
#include "program/card_status_texts.h"
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

constexpr char kDriverLine[] = "Vezurez driver version V1.2.4 accessed successfully.";
constexpr char kLiveNode[] = "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0";
constexpr char kStaticNode[] = "\n\nNode address:  00a0d41a2b3c  ROM version V1.49b /0";
constexpr char kStatic[] = "Utility is running, the data is static.  ";
const std::string kSynchronised = "\n\nSynchronized to 00a0d4010001  Lobby";

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
        emulator->Control(kSilenceLobby);
        ui.RunFor(StatusMonitorDialog::kLivePeriodMs);
    }
    if (c.toolRunning) {
        ToolStarts();
        ui.RunFor(StatusMonitorDialog::kLivePeriodMs);
    }
    ASSERT_FALSE(window->IsWindowVisible());
    const uint64_t requests = AllRequests();
    TrayMouse(kWmRButtonDown);
    EXPECT_EQ(Information(), c.expected);
    EXPECT_EQ(ui.Foreground(), window->Window());
    // The static form makes no driver call at all.
    EXPECT_EQ(AllRequests() == requests, c.toolRunning);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, InformationText,
    ::testing::Values(
        TextCase{"Live", false, true, kDriverLine + (kLiveNode + kSynchronised)},
        TextCase{"LiveOutOfRange", false, false,
                 kDriverLine + (kLiveNode + std::string(card_status_texts::kNoMaster))},
        TextCase{"Static", true, true, kStatic + (kDriverLine + (kStaticNode + kSynchronised))},
        TextCase{
            "StaticOutOfRange", true, false,
            kStatic + (kDriverLine + (kStaticNode + std::string(card_status_texts::kNoMaster)))}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.what; });

class InformationWindow : public MonitorTest {};

TEST_F(InformationWindow, StartUpTextIsAFreshReadShownUntilTheFirstTick) {
    Prepare();
    Open();
    EXPECT_EQ(Information(), kDriverLine + (kLiveNode + kSynchronised));
    EXPECT_TRUE(window->IsWindowVisible());
    ui.RunFor(StatusMonitorDialog::kFirstTickMs);
    EXPECT_FALSE(window->IsWindowVisible());
}

TEST_F(InformationWindow, FailedReadsShowTheLastGoodValues) {
    Start();
    InjectFault("fault fail cmd=2 status=-1");
    InjectFault("fault unset-status cmd=3 param=18 nth=2");
    TrayMouse(kWmRButtonDown);
    // The driver version line needs a successful read; the ROM version keeps its last text.
    EXPECT_EQ(Information(), kLiveNode + kSynchronised);
}

}  // namespace
}  // namespace vz
