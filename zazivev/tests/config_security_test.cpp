// The set-up warning, the security ID entry and its worker, and Get Settings.
#include "zazivev/tests/config_fixture.h"
#include "driver/card_text.h"
#include "zazivev/config/security_id_dialogs.h"

namespace vz {
namespace {

class SecurityIdTest : public ConfigTest {
  protected:
    void SetUp() override {
        InstallAdapter();
        OpenConfiguration();
        shell.SetPostTarget(
            [this](WindowRef target, uint32_t message) { ui.Post(target, message); });
    }

    // Opens the warning from Configuration and answers it with `answer`, and the entry, if it
    // comes, with `entry`.
    void SetSecurityId(std::function<void(HeadlessHost&)> answer,
                       HeadlessUi::ModalAnswer entry = nullptr) {
        ui.ExpectModal(IDD_SETUP_WARNING, [&](Dialog&, HeadlessHost& warning) {
            answer(warning);
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
    SetSecurityId([](HeadlessHost& warning) { warning.Click(kIdCancel); });
    EXPECT_EQ(warningEnd, kIdCancel);
    SetSecurityId([](HeadlessHost& warning) { warning.Click(IDC_SETUP_WARNING_CONTINUE); },
                  [](Dialog&, HeadlessHost& entry) { entry.Click(kIdCancel); });
    EXPECT_EQ(warningEnd, kIdOk);
    EXPECT_TRUE(shell.Workers().empty());
    EXPECT_TRUE(recorder->requests.empty());
}

struct TypedId {
    const char* typed;
    std::vector<uint8_t> sent;
};

class SecurityIdSent : public SecurityIdTest, public testing::WithParamInterface<TypedId> {};

TEST_P(SecurityIdSent, OkSendsTheTextAsTypedWithItsNulFromTheWorker) {
    WindowRef entryWindow = 0;
    auto entry = [&](Dialog&, HeadlessHost& entry) {
        EXPECT_EQ(entry.GetItemText(IDC_SECURITY_ID_EDIT), "");
        entry.Type(IDC_SECURITY_ID_EDIT, GetParam().typed);
        entry.Click(IDC_SECURITY_ID_OK);
        EXPECT_EQ(ui.CaptureWindow(), entry.Window());
        EXPECT_EQ(ui.Cursor(), CursorShape::kWait);
        entryWindow = entry.Window();
    };
    SetSecurityId([](HeadlessHost& warning) { warning.Click(IDC_SETUP_WARNING_CONTINUE); }, entry);
    EXPECT_EQ(warningEnd, kIdOk);
    EXPECT_TRUE(recorder->requests.empty()) << "sent by the worker only";
    ASSERT_EQ(shell.Workers().size(), 1u);
    EXPECT_EQ(shell.Workers()[0].priority, kThreadPriorityHighest);
    EXPECT_EQ(shell.Workers()[0].window, entryWindow);
    EXPECT_EQ(shell.Workers()[0].message, kMessageSecurityIdSent);

    shell.RunWorkers();
    ui.Settle();
    const auto sent = recorder->Sent(kCmdSetSecurityId);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].data, GetParam().sent);
    EXPECT_EQ(ui.CaptureWindow(), 0u);
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SecurityIdSent,
    testing::Values(TypedId{"abcdefghijklmnopqrstUVW", Bytes("abcdefghijklmnopqrst")},
                    TypedId{"", {0}}, TypedId{" Orchid\xe9\x01 ", Bytes(" Orchid\xe9\x01 ")}));

TEST_F(SecurityIdTest, TheWorkersMessageReleasesTheMouseWhileTheEntryIsOpen) {
    SecurityIdDialog entry(*context);
    HeadlessHost& host = ui.Open(entry);
    host.CaptureWithWaitCursor();
    EXPECT_TRUE(host.FireUser(kMessageSecurityIdSent));
    EXPECT_EQ(ui.CaptureWindow(), 0u);
    EXPECT_EQ(ui.Cursor(), CursorShape::kArrow);
}

struct CardFacts {
    int country;
    bool initCard;
    const char* shown;
};

class GetSettings : public ConfigTest, public testing::WithParamInterface<CardFacts> {};

TEST_P(GetSettings, ShowsTheCardStateOfTheLastInitCard) {
    InstallAdapter();
    std::string scenario = kQuickScenario;
    const std::string country = "country=" + std::to_string(GetParam().country);
    scenario.replace(scenario.find("country=0"), 9, country);
    OpenConfiguration(scenario, GetParam().initCard);
    std::vector<std::string> texts;
    ui.ExpectModal(IDD_GET_SETTINGS, [&](Dialog&, HeadlessHost& facts) {
        for (int id : {IDC_GET_SETTINGS_NODE_ADDRESS, IDC_GET_SETTINGS_ROM_VERSION,
                       IDC_GET_SETTINGS_COUNTRY_CODE, IDC_GET_SETTINGS_RSSI_MAP}) {
            texts.push_back(facts.GetItemText(id));
        }
        facts.Click(kIdOk);
    });
    window->Click(IDC_CONFIG_GET_SETTINGS);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2], GetParam().shown);
    if (!GetParam().initCard) {
        EXPECT_EQ(texts, (std::vector<std::string>{"", "", "0", ""}));
    } else {
        EXPECT_EQ(texts[0], "00a0d41a2b3c");
        EXPECT_EQ(texts[1], "V1.49b ");
        EXPECT_EQ(texts[3], FieldText(driver->card.rssiMapText));
        EXPECT_FALSE(texts[3].empty());
    }
    EXPECT_TRUE(recorder->requests.empty());
}

INSTANTIATE_TEST_SUITE_P(Countries, GetSettings,
                         testing::Values(CardFacts{0xC5, true, "c5"}, CardFacts{0x0C, true, "c"},
                                         CardFacts{0x2A, false, "0"}));

}  // namespace
}  // namespace vz
