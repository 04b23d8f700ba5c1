// The Configuration dialog: its layouts, Use Defaults, stored values outside their lists, and
// what OK sends to the card and stores in the registry.
#include "zazivev/tests/tool_fixture.h"
#include "zazivev/texts.h"

namespace vz {
namespace {

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

// A station type outside 0..2 shows, and is kept, as a Station.
TEST_F(ConfigTest, StoredStationTypeOpensItsLayoutWithPeerToPeerTickedAndOkKeepsIt) {
    for (const auto& [type, shown] :
         {std::pair{0, texts::kStationTypeStation},
          std::pair{1, texts::kStationTypeAlternateMaster}, std::pair{2, texts::kStationTypeMaster},
          std::pair{7, texts::kStationTypeStation}}) {
        InstallAdapter("PCMCIA", type);
        Store("Peer_to_Peer", 0);
        Store("Channel", 7);
        OpenConfiguration();
        ExpectLayout(*window, shown);
        EXPECT_EQ(Selected(IDC_CONFIG_CHANNEL), "7");
        EXPECT_FALSE(window->IsVisible(IDC_CONFIG_VERY_ADVANCED));
        EXPECT_EQ(ui.AcceleratorTarget(), window->Window());

        window->Click(IDC_CONFIG_OK);
        const bool listed = type <= 2;
        EXPECT_EQ(Stored("Station_Type"), test::Dword(listed ? type : 0));
        EXPECT_EQ(emulator->Counters().requests[kCmdSetMacOptimize], listed && type > 0 ? 1u : 0u);
    }
}

TEST_F(ConfigTest, UseDefaultsShowTheStationLayoutAndCancelLeavesRegistryAndCardAlone) {
    for (const std::string cardType : {"PCMCIA", "ISA"}) {
        InstallAdapter(cardType, 1);
        Store("Domain", 7);
        Store("Roam_Config", 2);
        test::PutValue(registry, kParameters, "Master_Name", test::Sz("HALL"));
        const test::TreeSnapshot before = test::Snapshot(registry, "System");
        OpenConfiguration();
        EXPECT_EQ(Selected(IDC_CONFIG_ROAM_CONFIG), "Fast");
        window->Click(IDC_CONFIG_USE_DEFAULTS);
        ExpectLayout(*window, "Station");
        EXPECT_EQ(window->GetItemText(IDC_CONFIG_MASTER_NAME), "MASTER");
        EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC), cardType == "PCMCIA" ? "30" : "0");
        EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_MIN) + Selected(IDC_CONFIG_DOMAIN), "00");
        EXPECT_EQ(Selected(IDC_CONFIG_ROAM_CONFIG), "Normal");

        window->Click(kIdCancel);
        EXPECT_TRUE(window->Ended());
        EXPECT_EQ(RequestsSinceOpening(), 0u);
        EXPECT_EQ(test::Snapshot(registry, "System"), before);
    }
}

// Stored: a Station with channel 5 as text, MAC Light, roaming Slow, 2 min 32 s, no peer to
// peer. The user picks roaming Normal, channel 9 and a name too long for the card as a Master,
// then the station type.
TEST_F(ConfigTest, OkSendsTheOptionsThenStoresTheSettingsKeepingEachValuesType) {
    for (const int type : {0, 1, 2}) {
        InstallAdapter();
        for (const auto& [name, value] : {std::pair{"Mac_Optimize", 0}, std::pair{"Roam_Config", 0},
                                          std::pair{"Inactivity_Sec", 32},
                                          std::pair{"Peer_to_Peer", 0}, std::pair{"Domain", 3}}) {
            Store(name, value);
        }
        test::PutValue(registry, kParameters, "Channel", test::Sz("5"));
        OpenConfiguration();
        EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC) + Selected(IDC_CONFIG_ROAM_CONFIG), "30Slow");
        window->SelectText(IDC_CONFIG_ROAM_CONFIG, "Normal");
        window->SelectText(IDC_CONFIG_STATION_TYPE, "Master");
        window->SelectText(IDC_CONFIG_CHANNEL, "9");
        window->Type(IDC_CONFIG_MASTER_NAME, "HALL 1234567");
        EXPECT_EQ(window->GetItemText(IDC_CONFIG_MASTER_NAME), "HALL 123456");
        window->Select(IDC_CONFIG_STATION_TYPE, type);
        window->Click(IDC_CONFIG_OK);
        EXPECT_TRUE(window->Ended());

        SCOPED_TRACE(type);
        const CardConfig& card = emulator->Config();
        EXPECT_EQ(card.stationType, type);
        EXPECT_EQ(card.channel, type == 0 ? 1 : 9);
        EXPECT_EQ(card.masterName, type == 0 ? "" : "HALL 123456");
        EXPECT_EQ(card.macOptimize, type == 0 ? 0 : 1) << "the card's 1 is Light";
        EXPECT_EQ(card.inactivity, 2 * 12 + 6);
        EXPECT_EQ(card.roamConfig, 1);
        EXPECT_EQ(card.peerToPeer, 1);
        EXPECT_EQ(emulator->Counters().requests[kCmdSetMacOptimize], type == 0 ? 0u : 1u);

        EXPECT_EQ(Stored("Station_Type"), test::Dword(type));
        EXPECT_EQ(Stored("Channel"), test::SzSized(type == 0 ? "5" : "9", type == 0 ? 2 : 5));
        EXPECT_EQ(Stored("Mac_Optimize"), test::Dword(0));
        EXPECT_EQ(Stored("Master_Name"), test::Sz(type == 0 ? "MASTER" : "HALL 123456"));
        EXPECT_EQ(settings->Channel, type == 0 ? 5 : 9) << "the main dialog's record";
        EXPECT_EQ(Stored("Roam_Config"), test::Dword(type == 2 ? 0 : 1));
        EXPECT_EQ(Stored("Inactivity_Sec"), test::Dword(30));
        EXPECT_EQ(Stored("Peer_to_Peer"), test::Dword(1));
    }
}

// A Master's tree full of values outside their lists, some of full 32-bit width: they show no
// selection, and OK untouched sends them as they are and rewrites only Peer To Peer (always
// ticked) and the seconds (down to a multiple of 5). A control the user changes takes its list
// value.
TEST_F(ConfigTest, OkKeepsEveryStoredValueTheUserDidNotTouch) {
    for (const bool touched : {false, true}) {
        InstallAdapter("PCMCIA", 2);
        using Value = std::tuple<const char*, uint32_t, int>;
        const Value kValues[] = {{"Channel", 99, IDC_CONFIG_CHANNEL},
                                 {"Subchannel", 0, IDC_CONFIG_SUBCHANNEL},
                                 {"Domain", 16, IDC_CONFIG_DOMAIN},
                                 {"Inactivity_Sec", 302, IDC_CONFIG_INACTIVITY_SEC},
                                 {"Inactivity_Min", 0xBF00003D, IDC_CONFIG_INACTIVITY_MIN}};
        for (const auto& [name, value, combo] : kValues) {
            Store(name, value);
        }
        Store("Peer_to_Peer", 0);
        Store("Mac_Optimize", 1);
        Store("Roam_Config", 0xFF000002);  // a Master keeps its roam configuration as stored
        test::TreeSnapshot expected = test::Snapshot(registry, "System");
        OpenConfiguration();
        for (const auto& [name, value, combo] : kValues) {
            EXPECT_EQ(window->ComboSelectedIndex(combo), -1) << name;
        }
        if (touched) {
            window->SelectText(IDC_CONFIG_DOMAIN, "4");
            window->SelectText(IDC_CONFIG_CHANNEL, "15");
        }
        window->Click(IDC_CONFIG_OK);

        // The card refuses a domain or channel it cannot have; the registry keeps them.
        EXPECT_EQ(emulator->Counters().requests[kCmdSetDriverData], 1u);
        const std::string parameters = std::string(kParameters) + "|";
        const test::TreeSnapshot stored = test::Snapshot(registry, "System");
        expected[parameters + "Peer_to_Peer"] = stored.at(parameters + "Peer_to_Peer");
        expected[parameters + "Inactivity_Sec"] = stored.at(parameters + "Inactivity_Sec");
        if (touched) {
            expected[parameters + "Domain"] = stored.at(parameters + "Domain");
            expected[parameters + "Channel"] = stored.at(parameters + "Channel");
        }
        EXPECT_EQ(test::Changes(expected, stored), std::vector<std::string>{}) << touched;
        EXPECT_EQ(Stored("Inactivity_Sec"), test::Dword(300));
        EXPECT_EQ(Stored("Peer_to_Peer"), test::Dword(1));
        EXPECT_EQ(Stored("Domain"), test::Dword(touched ? 4 : 16));
        EXPECT_EQ(Stored("Channel"), test::Dword(touched ? 15 : 99));
    }
}

TEST_F(ConfigTest, AltLettersHelpTheSurfaceAndEverySwitchOfStationTypeTicksPeerToPeerAgain) {
    InstallAdapter();
    files["zazivev.hlp"] = "HELPMSTR\nmasters\nHELPCONFIG\nconfig line\nHELPSITE\nsite\n";
    OpenConfiguration();
    for (int id : {IDC_CONFIG_STATION_TYPE, IDC_CONFIG_MASTER_NAME, IDC_CONFIG_CHANNEL,
                   IDC_CONFIG_SUBCHANNEL, IDC_CONFIG_DOMAIN, IDC_CONFIG_MAC_OPTIMIZE,
                   IDC_CONFIG_ROAM_CONFIG, IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_MIN}) {
        ui.PressAccelerator(id);
        EXPECT_EQ(window->Focus(), id);
    }
    ui.ExpectModal(IDD_HELP, [](Dialog&, HeadlessHost& help) {
        EXPECT_EQ(help.Control(IDC_HELP_LIST).items, std::vector<std::string>{"config line"});
        EXPECT_EQ(help.Caption(), "Configuration Help");
        help.Click(kIdOk);
    });
    window->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(ui.PendingAnswers(), 0u);

    window->RightDoubleClick(40, 140);
    EXPECT_TRUE(window->Click(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(RequestsSinceOpening(), 0u);

    for (const char* type : {"Master", "Alternate Master", "Station", "Master"}) {
        window->Click(IDC_CONFIG_PEER_TO_PEER);
        window->SelectText(IDC_CONFIG_STATION_TYPE, type);
        ExpectLayout(*window, type);
    }
}

}  // namespace
}  // namespace vz
