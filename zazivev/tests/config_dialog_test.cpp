// The Configuration dialog: its layouts, Use Defaults, stored values outside their lists, and
// what OK sends to the card and stores in the registry.
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

using test::Dword;
using test::GetValue;
using test::PutValue;

constexpr int kMasterControls[] = {IDC_CONFIG_MASTER_NAME,  IDC_CONFIG_MASTER_NAME_LABEL,
                                   IDC_CONFIG_CHANNEL,      IDC_CONFIG_CHANNEL_LABEL,
                                   IDC_CONFIG_SUBCHANNEL,   IDC_CONFIG_SUBCHANNEL_LABEL,
                                   IDC_CONFIG_MAC_OPTIMIZE, IDC_CONFIG_MAC_LABEL};
constexpr int kRoamingControls[] = {IDC_CONFIG_ROAM_CONFIG,    IDC_CONFIG_ROAM_LABEL,
                                    IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_SEC_LABEL,
                                    IDC_CONFIG_INACTIVITY_MIN, IDC_CONFIG_INACTIVITY_MIN_LABEL,
                                    IDC_CONFIG_PEER_TO_PEER};

void ExpectLayout(HeadlessHost& window, const std::string& stationType) {
    SCOPED_TRACE(stationType);
    EXPECT_EQ(window.ComboSelectedText(IDC_CONFIG_STATION_TYPE), stationType);
    for (int id : kMasterControls) {
        EXPECT_EQ(window.IsEnabled(id), stationType != "Station") << id;
    }
    for (int id : kRoamingControls) {
        EXPECT_EQ(window.IsEnabled(id), stationType != "Master") << id;
    }
    EXPECT_TRUE(window.IsChecked(IDC_CONFIG_PEER_TO_PEER));
}

class ConfigLayout : public ConfigTest, public testing::WithParamInterface<int> {};

TEST_P(ConfigLayout, StoredStationTypeOpensItsLayoutWithPeerToPeerTickedAndOkKeepsIt) {
    InstallAdapter("PCMCIA", GetParam());
    PutValue(registry, kParameters, "Peer_to_Peer", Dword(0));
    PutValue(registry, kParameters, "Channel", Dword(7));
    OpenConfiguration();
    ExpectLayout(*window, GetParam() == 1   ? "Alternate Master"
                          : GetParam() == 2 ? "Master"
                                            : "Station");
    EXPECT_EQ(Selected(IDC_CONFIG_CHANNEL), "7");
    EXPECT_FALSE(window->IsVisible(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_EQ(ui.AcceleratorTarget(), window->Window());

    window->Click(IDC_CONFIG_OK);
    const bool listed = GetParam() <= 2;
    EXPECT_EQ(GetValue(registry, kParameters, "Station_Type"), Dword(listed ? GetParam() : 0));
    EXPECT_EQ(emulator->Counters().requests[kCmdSetMacOptimize],
              listed && GetParam() > 0 ? 1u : 0u);
}

// A station type outside 0..2 shows, and is kept, as a Station.
INSTANTIATE_TEST_SUITE_P(Types, ConfigLayout, testing::Values(0, 1, 2, 7));

TEST_F(ConfigTest, EverySwitchOfStationTypeTicksPeerToPeerAgain) {
    InstallAdapter();
    OpenConfiguration();
    for (const char* type : {"Master", "Alternate Master", "Station", "Master"}) {
        window->Click(IDC_CONFIG_PEER_TO_PEER);
        window->SelectText(IDC_CONFIG_STATION_TYPE, type);
        ExpectLayout(*window, type);
        EXPECT_EQ(config->peerToPeer, 1);
    }
}

class ConfigDefaults : public ConfigTest, public testing::WithParamInterface<const char*> {};

TEST_P(ConfigDefaults, ShowTheStationLayoutAndCancelLeavesRegistryAndCardAlone) {
    const bool pcCard = std::string(GetParam()) == "PCMCIA";
    InstallAdapter(GetParam(), 1);
    PutValue(registry, kParameters, "Domain", Dword(7));
    PutValue(registry, kParameters, "Roam_Config", Dword(2));
    PutValue(registry, kParameters, "Master_Name", test::Sz("HALL"));
    const test::TreeSnapshot before = test::Snapshot(registry, "System");
    OpenConfiguration();
    EXPECT_EQ(Selected(IDC_CONFIG_ROAM_CONFIG), "Fast");
    window->Click(IDC_CONFIG_USE_DEFAULTS);
    ExpectLayout(*window, "Station");
    EXPECT_EQ(window->GetItemText(IDC_CONFIG_MASTER_NAME), "MASTER");
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC), pcCard ? "30" : "0");
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_MIN) + Selected(IDC_CONFIG_DOMAIN), "00");
    EXPECT_EQ(Selected(IDC_CONFIG_ROAM_CONFIG), "Normal");

    window->Click(kIdCancel);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(RequestsSinceOpening(), 0u);
    EXPECT_EQ(test::Snapshot(registry, "System"), before);
}

INSTANTIATE_TEST_SUITE_P(Cards, ConfigDefaults, testing::Values("PCMCIA", "ISA"));

// Stored: a Station with channel 5 as text, MAC Light, roaming Slow, 2 min 32 s, no peer to
// peer. The user picks roaming Normal, channel 9 and a name too long for the card as a Master,
// then the station type.
class ConfigApply : public ConfigTest, public testing::WithParamInterface<int> {};

TEST_P(ConfigApply, OkSendsTheOptionsThenStoresTheSettingsKeepingEachValuesType) {
    const int type = GetParam();
    InstallAdapter();
    for (auto [name, value] : {std::pair{"Mac_Optimize", 0},
                               {"Roam_Config", 0},
                               {"Inactivity_Sec", 32},
                               {"Peer_to_Peer", 0},
                               {"Domain", 3}}) {
        PutValue(registry, kParameters, name, Dword(value));
    }
    PutValue(registry, kParameters, "Channel", test::Sz("5"));
    OpenConfiguration();
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC), "30");
    window->SelectText(IDC_CONFIG_ROAM_CONFIG, "Normal");
    window->SelectText(IDC_CONFIG_STATION_TYPE, "Master");
    window->SelectText(IDC_CONFIG_CHANNEL, "9");
    window->Type(IDC_CONFIG_MASTER_NAME, "HALL 1234567");
    EXPECT_EQ(window->GetItemText(IDC_CONFIG_MASTER_NAME), "HALL 123456");
    window->Select(IDC_CONFIG_STATION_TYPE, type);
    window->Click(IDC_CONFIG_OK);
    EXPECT_TRUE(window->Ended());

    const CardConfig& card = emulator->Config();
    EXPECT_EQ(card.stationType, type);
    EXPECT_EQ(card.channel, type == 0 ? 1 : 9);
    EXPECT_EQ(card.masterName, type == 0 ? "" : "HALL 123456");
    EXPECT_EQ(card.macOptimize, type == 0 ? 0 : 1) << "the card's 1 is Light";
    EXPECT_EQ(card.inactivity, 2 * 12 + 6);
    EXPECT_EQ(card.roamConfig, 1);
    EXPECT_EQ(card.peerToPeer, 1);
    EXPECT_EQ(emulator->Counters().requests[kCmdSetMacOptimize], type == 0 ? 0u : 1u);

    EXPECT_EQ(GetValue(registry, kParameters, "Station_Type"), Dword(type));
    EXPECT_EQ(GetValue(registry, kParameters, "Channel"),
              test::SzSized(type == 0 ? "5" : "9", type == 0 ? 2 : 5));
    EXPECT_EQ(GetValue(registry, kParameters, "Mac_Optimize"), Dword(0));
    EXPECT_EQ(GetValue(registry, kParameters, "Master_Name"),
              test::Sz(type == 0 ? "MASTER" : "HALL 123456"));
    EXPECT_EQ(settings->Channel, type == 0 ? 5 : 9) << "the main dialog's record";
    EXPECT_EQ(GetValue(registry, kParameters, "Roam_Config"), Dword(type == 2 ? 0 : 1));
    EXPECT_EQ(GetValue(registry, kParameters, "Inactivity_Sec"), Dword(30));
    EXPECT_EQ(GetValue(registry, kParameters, "Peer_to_Peer"), Dword(1));
}

INSTANTIATE_TEST_SUITE_P(Types, ConfigApply, testing::Values(0, 1, 2));

// A value outside its list shows no selection; OK then sends and stores the Use Defaults value.
struct OutOfListCase {
    const char* value;
    uint32_t stored;
    int combo;
    uint32_t saved;
};

class ConfigOutOfList : public ConfigTest, public testing::WithParamInterface<OutOfListCase> {};

TEST_P(ConfigOutOfList, ShowsNoSelectionAndOkStoresTheDefault) {
    const OutOfListCase c = GetParam();
    InstallAdapter("PCMCIA", 2);
    PutValue(registry, kParameters, c.value, Dword(c.stored));
    OpenConfiguration();
    EXPECT_EQ(window->ComboSelectedIndex(c.combo), -1);
    window->Click(IDC_CONFIG_OK);
    EXPECT_EQ(GetValue(registry, kParameters, c.value), Dword(c.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConfigOutOfList,
    testing::Values(OutOfListCase{"Channel", 0, IDC_CONFIG_CHANNEL, 1},
                    OutOfListCase{"Subchannel", 99, IDC_CONFIG_SUBCHANNEL, 1},
                    OutOfListCase{"Domain", 16, IDC_CONFIG_DOMAIN, 0},
                    OutOfListCase{"Inactivity_Sec", 300, IDC_CONFIG_INACTIVITY_SEC, 30},
                    OutOfListCase{"Inactivity_Min", 61, IDC_CONFIG_INACTIVITY_MIN, 0}));

TEST_F(ConfigTest, AltLettersMoveTheFocusHelpShowsItsSectionAndTheSurfaceRevealsVeryAdvanced) {
    InstallAdapter();
    files["zazivev.hlp"] = "HELPMSTR\nmasters\nHELPCONFIG\nconfig line\nHELPSITE\nsite\n";
    OpenConfiguration();
    for (int id : {IDC_CONFIG_STATION_TYPE, IDC_CONFIG_MASTER_NAME, IDC_CONFIG_CHANNEL,
                   IDC_CONFIG_SUBCHANNEL, IDC_CONFIG_DOMAIN, IDC_CONFIG_MAC_OPTIMIZE,
                   IDC_CONFIG_ROAM_CONFIG, IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_MIN}) {
        ui.PressAccelerator(id);
        EXPECT_EQ(window->Focus(), id);
    }
    std::vector<std::string> help;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& h) {
        help = h.Control(IDC_HELP_LIST).items;
        help.push_back(h.Caption());
        h.Click(kIdOk);
    });
    window->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(help, (std::vector<std::string>{"config line", "Configuration Help"}));

    window->RightDoubleClick(40, 140);
    EXPECT_TRUE(window->Click(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(RequestsSinceOpening(), 0u);
}

}  // namespace
}  // namespace vz
