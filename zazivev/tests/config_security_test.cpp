// The set-up warning, the security ID entry and its worker, alone and on cardemu's link beside the
// dialogs' requests, and Get Settings.
#include <atomic>
#include <mutex>
#include <thread>

#include "driver/card_text.h"
#include "driver/status_queries.h"
#include "emulator/link/emulator_link.h"
#include "emulator/server/card_server.h"
#include "platform/steady_clock.h"
#include "zazivev/config/security_id_dialogs.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

class SecurityIdTest : public ConfigTest {
  protected:
    void SetUp() override {
        InstallAdapter();
        OpenConfiguration();
        shell.SetPostTarget([this](WindowRef to, uint32_t message) { ui.Post(to, message); });
    }

    // Set Security ID..., the warning answered by `warning`, the entry (if it comes) by `entry`.
    void SetSecurityId(int warningButton, HeadlessUi::ModalAnswer entry = nullptr) {
        ui.ExpectModal(IDD_SETUP_WARNING, [&](Dialog&, HeadlessHost& warning) {
            warning.Click(warningButton);
            warningEnd = warning.EndCode();
        });
        if (entry) {
            ui.ExpectModal(IDD_SECURITY_ID, entry);
        }
        window->Click(IDC_CONFIG_SET_SECURITY_ID);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
    }

    int warningEnd = -1;
};

class SecurityIdSent : public SecurityIdTest,
                       public testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(SecurityIdSent, AbortAndCancelSendNothingAndOkSendsTheTextAsTypedFromTheWorker) {
    SetSecurityId(kIdCancel);  // Abort never opens the entry
    EXPECT_EQ(warningEnd, kIdCancel);
    SetSecurityId(IDC_SETUP_WARNING_CONTINUE,
                  [](Dialog&, HeadlessHost& entry) { entry.Click(kIdCancel); });
    EXPECT_TRUE(shell.Workers().empty());
    WindowRef entryWindow = 0;
    SetSecurityId(IDC_SETUP_WARNING_CONTINUE, [&](Dialog&, HeadlessHost& entry) {
        EXPECT_EQ(entry.GetItemText(IDC_SECURITY_ID_EDIT), "");
        entry.Type(IDC_SECURITY_ID_EDIT, GetParam().first);
        EXPECT_EQ(entry.GetItemText(IDC_SECURITY_ID_EDIT), GetParam().second);
        entry.Click(IDC_SECURITY_ID_OK);
        EXPECT_EQ(ui.CaptureWindow(), entry.Window());
        EXPECT_EQ(ui.Cursor(), CursorShape::kWait);
        entryWindow = entry.Window();
    });
    EXPECT_EQ(warningEnd, kIdOk);
    EXPECT_EQ(RequestsSinceOpening(), 0u) << "sent by the worker only";
    ASSERT_EQ(shell.Workers().size(), 1u);
    const auto& worker = shell.Workers()[0];
    EXPECT_EQ(std::tuple(worker.priority, worker.window, worker.message),
              std::tuple(kThreadPriorityHighest, entryWindow, kMessageSecurityIdSent));

    shell.RunWorkers();
    ui.Settle();
    EXPECT_EQ(emulator->Counters().requests[kCmdSetSecurityId], 1u);
    EXPECT_EQ(emulator->Config().securityId, GetParam().second);
    EXPECT_EQ(ui.CaptureWindow(), 0u);

    // The worker's message releases the mouse while an entry is open.
    SecurityIdDialog entry(*context);
    HeadlessHost& host = ui.Open(entry);
    host.CaptureWithWaitCursor();
    EXPECT_TRUE(host.FireUser(kMessageSecurityIdSent));
    EXPECT_EQ(ui.CaptureWindow(), 0u);
    EXPECT_EQ(ui.Cursor(), CursorShape::kArrow);
}

// The edit takes 20 characters; the card takes them with their NUL (21 bytes), or the NUL alone.
INSTANTIATE_TEST_SUITE_P(
    Texts, SecurityIdSent,
    testing::Values(std::pair{"abcdefghijklmnopqrstUVW", "abcdefghijklmnopqrst"}, std::pair{"", ""},
                    std::pair{" Orchid\xe9\x01 ", " Orchid\xe9\x01 "}));

// While the worker's request is under way, the dialogs' requests on the same link wait for it
// instead of interleaving with it.
TEST_F(ToolTest, TheSecurityIdWorkerSharesTheLinkWithTheDialogsWithoutInterleaving) {
    ScenarioError error;
    ASSERT_TRUE(ParseScenario("system nt 4\ndevice davuziro 1\ntiming sync-ms=0 service-us=0\n",
                              world, error));
    SteadyClock steady;
    Emulator card(world, steady);
    std::mutex cardLock;
    CardServer server(card, cardLock);
    ASSERT_TRUE(server.Start(0));
    card.Control("fault slow ms=300 cmd=1");  // before any client: no lock needed yet

    EmulatorLink link(server.Port());
    NullCardHost nullHost;
    Driver linked(link, steady, nullHost, DriverVariant::kTool);
    ASSERT_EQ(OpenDriver(linked), 0);
    ToolContext tool(linked, registry, shell, steady, link.GetSystemVersion());
    SecurityIdDialog entry(tool);
    HeadlessHost& window = ui.Open(entry);
    window.Type(IDC_SECURITY_ID_EDIT, "orchid");
    window.Click(IDC_SECURITY_ID_OK);
    // The worker on a thread of its own, as the system runs it.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        shell.RunWorkers();
        done = true;
    });

    int requests = 0;
    int failures = 0;
    while (!done) {
        uint8_t sync = 0;
        failures += GetSyncState(linked, sync) != Status::kOk ? 1 : 0;
        ++requests;
    }
    worker.join();
    EXPECT_GT(requests, 0);
    EXPECT_EQ(failures, 0);
    std::lock_guard<std::mutex> lock(cardLock);
    EXPECT_EQ(card.Config().securityId, "orchid");
    EXPECT_EQ(card.Counters().malformedLists, 0u);
}

TEST_F(ConfigTest, GetSettingsShowsTheCardStateOfTheLastInitCard) {
    using Lines = std::vector<std::string>;
    for (const auto& [country, initCard, shown] :
         {std::tuple{0xC5, true, "c5"}, std::tuple{0x0C, true, "c"},
          std::tuple{0x2A, false, "0"}}) {
        InstallAdapter();
        OpenConfiguration(Edited(kQuickScenario, "country=0", "country=" + std::to_string(country)),
                          initCard);
        Lines texts;
        ui.ExpectModal(IDD_GET_SETTINGS, [&](Dialog&, HeadlessHost& facts) {
            texts = Texts(facts, {IDC_GET_SETTINGS_NODE_ADDRESS, IDC_GET_SETTINGS_ROM_VERSION,
                                  IDC_GET_SETTINGS_COUNTRY_CODE, IDC_GET_SETTINGS_RSSI_MAP});
            facts.Click(kIdOk);
        });
        window->Click(IDC_CONFIG_GET_SETTINGS);
        const std::string map = FieldText(driver->card.rssiMapText);
        EXPECT_EQ(texts, (initCard ? Lines{"00a0d41a2b3c", "V1.49b ", shown, map}
                                   : Lines{"", "", "0", ""}));
        EXPECT_EQ(map.empty(), !initCard);
        EXPECT_EQ(RequestsSinceOpening(), 0u);
    }
}

}  // namespace
}  // namespace vz
