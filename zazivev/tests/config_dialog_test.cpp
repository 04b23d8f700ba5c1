// The Configuration dialog: its layouts, Use Defaults, stored values outside their lists, and
// what OK sends to the card and stores in the registry.
#include "zazivev/tests/config_fixture.h"

namespace vz {
namespace {

using test::Dword;
using test::GetValue;
using test::PutValue;
using test::Sz;
using test::SzSized;

constexpr int kMasterControls[] = {IDC_CONFIG_MASTER_NAME,  IDC_CONFIG_MASTER_NAME_LABEL,
                                   IDC_CONFIG_CHANNEL,      IDC_CONFIG_CHANNEL_LABEL,
                                   IDC_CONFIG_SUBCHANNEL,   IDC_CONFIG_SUBCHANNEL_LABEL,
                                   IDC_CONFIG_MAC_OPTIMIZE, IDC_CONFIG_MAC_LABEL};
constexpr int kRoamingControls[] = {IDC_CONFIG_ROAM_CONFIG,    IDC_CONFIG_ROAM_LABEL,
                                    IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_SEC_LABEL,
                                    IDC_CONFIG_INACTIVITY_MIN, IDC_CONFIG_INACTIVITY_MIN_LABEL,
                                    IDC_CONFIG_PEER_TO_PEER};
constexpr const char* kValueNames[] = {
    "Station_Type", "Master_Name",    "Channel",        "Subchannel",   "Domain",  "Mac_Optimize",
    "Roam_Config",  "Inactivity_Sec", "Inactivity_Min", "Peer_to_Peer", "CardType"};

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

struct StoredLayout {
    int stationType;
    const char* shown;
};

class ConfigLayout : public ConfigTest, public testing::WithParamInterface<StoredLayout> {};

TEST_P(ConfigLayout, StoredStationTypeOpensItsLayoutWithPeerToPeerTicked) {
    InstallAdapter("PCMCIA", GetParam().stationType);
    PutValue(registry, kParameters, "Peer_to_Peer", Dword(0));
    PutValue(registry, kParameters, "Channel", Dword(7));
    OpenConfiguration();
    ExpectLayout(*window, GetParam().shown);
    EXPECT_EQ(Selected(IDC_CONFIG_CHANNEL), "7");
    EXPECT_FALSE(window->IsVisible(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_EQ(ui.AcceleratorTarget(), window->Window());
}

INSTANTIATE_TEST_SUITE_P(Types, ConfigLayout,
                         testing::Values(StoredLayout{0, "Station"},
                                         StoredLayout{1, "Alternate Master"},
                                         StoredLayout{2, "Master"}, StoredLayout{7, "Station"}));

TEST_F(ConfigTest, EverySwitchOfStationTypeTicksPeerToPeerAgain) {
    InstallAdapter();
    OpenConfiguration();
    for (const char* type : {"Master", "Alternate Master", "Station", "Master"}) {
        if (window->IsEnabled(IDC_CONFIG_PEER_TO_PEER)) {
            window->Click(IDC_CONFIG_PEER_TO_PEER);
            ASSERT_EQ(config->peerToPeer, 0);
        }
        window->SelectText(IDC_CONFIG_STATION_TYPE, type);
        ExpectLayout(*window, type);
        EXPECT_EQ(config->peerToPeer, 1);
    }
}

struct UseDefaultsCase {
    const char* cardType;
    const char* seconds;
};

class ConfigDefaults : public ConfigTest, public testing::WithParamInterface<UseDefaultsCase> {};

TEST_P(ConfigDefaults, ShowTheStationLayoutAndCancelLeavesRegistryAndCardAlone) {
    InstallAdapter(GetParam().cardType, 1);
    PutValue(registry, kParameters, "Domain", Dword(7));
    PutValue(registry, kParameters, "Master_Name", Sz("Hall"));
    std::vector<std::optional<test::TestValue>> before;
    for (const char* name : kValueNames) {
        before.push_back(GetValue(registry, kParameters, name));
    }
    OpenConfiguration();
    window->Click(IDC_CONFIG_USE_DEFAULTS);
    ExpectLayout(*window, "Station");
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC), GetParam().seconds);
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_MIN), "0");
    EXPECT_EQ(Selected(IDC_CONFIG_DOMAIN), "0");
    EXPECT_EQ(Selected(IDC_CONFIG_ROAM_CONFIG), "Normal");
    EXPECT_EQ(window->GetItemText(IDC_CONFIG_MASTER_NAME), "MASTER");

    window->Click(kIdCancel);
    EXPECT_TRUE(window->Ended());
    EXPECT_TRUE(recorder->requests.empty());
    for (size_t i = 0; i < std::size(kValueNames); ++i) {
        EXPECT_EQ(GetValue(registry, kParameters, kValueNames[i]), before[i]) << kValueNames[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Cards, ConfigDefaults,
                         testing::Values(UseDefaultsCase{"PCMCIA", "30"},
                                         UseDefaultsCase{"ISA", "0"}));

// Stored as a Station with channel 5 (text), subchannel 2, MAC Light, roaming Slow, 2 min 32 s;
// the user picks roaming Normal and then the station type.
struct ApplyCase {
    const char* stationType;
    int code;
};

class ConfigApply : public ConfigTest, public testing::WithParamInterface<ApplyCase> {
  protected:
    void SetUp() override {
        InstallAdapter();
        PutValue(registry, kParameters, "Channel", Sz("5"));
        PutValue(registry, kParameters, "Subchannel", Dword(2));
        PutValue(registry, kParameters, "Mac_Optimize", Dword(0));
        PutValue(registry, kParameters, "Roam_Config", Dword(0));
        PutValue(registry, kParameters, "Inactivity_Sec", Dword(32));
        PutValue(registry, kParameters, "Peer_to_Peer", Dword(0));
        PutValue(registry, kParameters, "Domain", Dword(3));
        OpenConfiguration();
    }
};

TEST_P(ConfigApply, OkSendsTheOptionsThenStoresTheSettingsKeepingEachValuesType) {
    const ApplyCase c = GetParam();
    const bool station = c.code == 0;
    const auto channelBefore = GetValue(registry, kParameters, "Channel");
    const auto subchannelBefore = GetValue(registry, kParameters, "Subchannel");
    const auto macBefore = GetValue(registry, kParameters, "Mac_Optimize");
    EXPECT_EQ(Selected(IDC_CONFIG_INACTIVITY_SEC), "30");
    window->SelectText(IDC_CONFIG_ROAM_CONFIG, "Normal");
    window->SelectText(IDC_CONFIG_STATION_TYPE, "Master");
    window->SelectText(IDC_CONFIG_CHANNEL, "9");
    window->SelectText(IDC_CONFIG_STATION_TYPE, c.stationType);
    window->Click(IDC_CONFIG_OK);
    EXPECT_TRUE(window->Ended());

    const auto lists = recorder->Sent(kCmdSetDriverData);
    ASSERT_EQ(lists.size(), 1u);
    auto sent = SentParameters(lists[0].data);
    EXPECT_EQ(sent[kParamStationType], std::vector<uint8_t>{uint8_t(c.code)});
    EXPECT_EQ(sent[kParamDomain], std::vector<uint8_t>{3});
    EXPECT_EQ(sent[kParamInactivity], (std::vector<uint8_t>{2 * 12 + 6, 0}));
    EXPECT_EQ(sent[kParamPeerToPeer], std::vector<uint8_t>{1});
    EXPECT_EQ(sent.count(kParamMasterChannel), station ? 0u : 1u);
    if (!station) {
        EXPECT_EQ(sent[kParamMasterChannel], std::vector<uint8_t>{9});
        EXPECT_EQ(sent[kParamMasterSubchannel], std::vector<uint8_t>{2});
        EXPECT_STREQ(reinterpret_cast<const char*>(sent[kParamAnnouncedName].data()), "MASTER");
    }
    const auto macSent = recorder->Sent(kCmdSetMacOptimize);
    ASSERT_EQ(macSent.size(), station ? 0u : 1u);
    if (!station) {
        EXPECT_EQ(macSent[0].data, std::vector<uint8_t>{1}) << "Light is the card's 1";
    }
    ASSERT_EQ(recorder->Sent(kCmdSetRoamConfig).size(), 1u);
    EXPECT_EQ(recorder->Sent(kCmdSetRoamConfig)[0].data, std::vector<uint8_t>{1});

    EXPECT_EQ(GetValue(registry, kParameters, "Station_Type"), Dword(c.code));
    EXPECT_EQ(GetValue(registry, kParameters, "Inactivity_Sec"), Dword(30));
    EXPECT_EQ(GetValue(registry, kParameters, "Peer_to_Peer"), Dword(1));
    EXPECT_EQ(GetValue(registry, kParameters, "Domain"), Dword(3));
    EXPECT_EQ(GetValue(registry, kParameters, "Roam_Config"), Dword(c.code == 2 ? 0 : 1));
    if (station) {
        EXPECT_EQ(GetValue(registry, kParameters, "Channel"), channelBefore);
        EXPECT_EQ(GetValue(registry, kParameters, "Subchannel"), subchannelBefore);
        EXPECT_EQ(GetValue(registry, kParameters, "Mac_Optimize"), macBefore);
        EXPECT_EQ(settings->Channel, 5) << "the main dialog's record keeps it too";
    } else {
        EXPECT_EQ(GetValue(registry, kParameters, "Channel"), SzSized("9", 5));
        EXPECT_EQ(GetValue(registry, kParameters, "Subchannel"), Dword(2));
        EXPECT_EQ(GetValue(registry, kParameters, "Mac_Optimize"), Dword(0));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, ConfigApply,
                         testing::Values(ApplyCase{"Station", 0}, ApplyCase{"Alternate Master", 1},
                                         ApplyCase{"Master", 2}));

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

TEST_F(ConfigTest, StationTypeOutsideTheListIsStoredAsTheStationItShows) {
    InstallAdapter("PCMCIA", 7);
    OpenConfiguration();
    window->Click(IDC_CONFIG_OK);
    EXPECT_EQ(GetValue(registry, kParameters, "Station_Type"), Dword(0));
    EXPECT_TRUE(recorder->Sent(kCmdSetMacOptimize).empty());
}

TEST_F(ConfigTest, AltLettersMoveTheFocusAndTheSurfaceRevealsVeryAdvanced) {
    InstallAdapter();
    OpenConfiguration();
    for (int id : {IDC_CONFIG_STATION_TYPE, IDC_CONFIG_MASTER_NAME, IDC_CONFIG_CHANNEL,
                   IDC_CONFIG_SUBCHANNEL, IDC_CONFIG_DOMAIN, IDC_CONFIG_MAC_OPTIMIZE,
                   IDC_CONFIG_ROAM_CONFIG, IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_MIN}) {
        ui.PressAccelerator(id);
        EXPECT_EQ(window->Focus(), id);
    }
    ui.PressAccelerator(IDC_MASTERS_DOMAIN);
    EXPECT_EQ(window->Focus(), IDC_CONFIG_INACTIVITY_MIN);

    window->RightDoubleClick(40, 140);
    EXPECT_TRUE(window->IsVisible(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_TRUE(window->Click(IDC_CONFIG_VERY_ADVANCED));
    EXPECT_FALSE(window->Ended());
    EXPECT_TRUE(recorder->requests.empty());
}

TEST_F(ConfigTest, HelpShowsTheConfigurationSection) {
    InstallAdapter();
    helpFile = "HELPMSTR\nmasters\nHELPCONFIG\nconfig line\nHELPSITE\nsite\n";
    OpenConfiguration();
    std::string caption;
    std::vector<std::string> lines;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
        caption = help.Caption();
        lines = help.Control(IDC_HELP_LIST).items;
        help.Click(kIdOk);
    });
    window->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(caption, "Configuration Help");
    EXPECT_EQ(lines, std::vector<std::string>{"config line"});
}

}  // namespace
}  // namespace vz
