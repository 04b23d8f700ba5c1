// The set-up warning, the security ID entry and its worker, and Get Settings.
#include "driver/card_text.h"
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

TEST_F(SecurityIdTest, AbortNeverOpensTheEntryAndCancelThereSendsNothing) {
    SetSecurityId(kIdCancel);
    EXPECT_EQ(warningEnd, kIdCancel);
    SetSecurityId(IDC_SETUP_WARNING_CONTINUE,
                  [](Dialog&, HeadlessHost& entry) { entry.Click(kIdCancel); });
    EXPECT_EQ(warningEnd, kIdOk);
    EXPECT_TRUE(shell.Workers().empty());
    EXPECT_EQ(RequestsSinceOpening(), 0u);
}

class SecurityIdSent : public SecurityIdTest,
                       public testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(SecurityIdSent, OkSendsTheTextAsTypedFromTheWorker) {
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
    EXPECT_EQ(shell.Workers()[0].priority, kThreadPriorityHighest);
    EXPECT_EQ(shell.Workers()[0].window, entryWindow);
    EXPECT_EQ(shell.Workers()[0].message, kMessageSecurityIdSent);

    shell.RunWorkers();
    ui.Settle();
    EXPECT_EQ(emulator->Counters().requests[kCmdSetSecurityId], 1u);
    EXPECT_EQ(emulator->Config().securityId, GetParam().second);
    EXPECT_EQ(ui.CaptureWindow(), 0u);
}

// The edit takes 20 characters; the card takes them with their NUL (21 bytes), or the NUL alone.
INSTANTIATE_TEST_SUITE_P(
    Texts, SecurityIdSent,
    testing::Values(std::pair{"abcdefghijklmnopqrstUVW", "abcdefghijklmnopqrst"}, std::pair{"", ""},
                    std::pair{" Orchid\xe9\x01 ", " Orchid\xe9\x01 "}));

TEST_F(SecurityIdTest, TheWorkersMessageReleasesTheMouseWhileTheEntryIsOpen) {
    SecurityIdDialog entry(*context);
    HeadlessHost& host = ui.Open(entry);
    host.CaptureWithWaitCursor();
    EXPECT_TRUE(host.FireUser(kMessageSecurityIdSent));
    EXPECT_EQ(ui.CaptureWindow(), 0u);
    EXPECT_EQ(ui.Cursor(), CursorShape::kArrow);
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
