// The Master list against the emulated card: the domain search, the rows, the buttons.
#include "zazivev/masters/rom_version.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

using Table = std::vector<std::vector<std::string>>;
constexpr uint32_t kSweepMs = 16 * 2000;
// What a sweep of every domain from the last one lists; the card's own Master comes first when it
// is synchronised at opening.
const Table kSweep = {{"00a0d4010001", "15", "5/2", "Lobby"},
                      {"00a0d4020001", "0", "1/1", "Accounts"},
                      {"00a0d4020002", "1", "3/7", "Lobby"}};

TEST(CopyFigures, ATabOrLineBreakInACellBecomesASpace) {
    EXPECT_EQ(FiguresText({"A", "B"}, {{"x\ty", "z\r\nw"}, {"", "v"}}),
              "A\tB\r\nx y\tz  w\r\n\tv\r\n");
}

TEST(RomVersion, DecidesTheLinkButtons) {
    const std::pair<const char*, bool> cases[] = {
        {"V1.49b ", true}, {"V2.0", true},    {"V1.47a", true},
        {"V1.5", true},    {"V10", true},     {"V1.48", false},
        {"V1.47", false},  {"V1.47A", false}, {"", false},
        {"V", false},      {"V1", false},     {"V1.", false},
        {"Vx.yz", false},  {"V1 48", false},  {"V99999999999999999999.1", true},
        {"V1.10", false}};
    for (const auto& [version, allowed] : cases) {
        EXPECT_EQ(LinkTestsAllowed(version), allowed) << version;
    }
}

TEST_F(MasterListTest, SearchAllFromTheLastDomainListsEveryMasterOnceWithItsFirstDomain) {
    OpenList(MasterListDialog::kSearchAll, 15, 0,
             Edited(kMastersScenario, "sync-ms=1200", "sync-ms=0"));
    ui.RunFor(kSweepMs);
    EXPECT_EQ(Rows(), kSweep);
    Table copied = {{"Address", "Domain", "Ch/Sub", "Name"}};
    copied.insert(copied.end(), kSweep.begin(), kSweep.end());
    EXPECT_EQ(CopiedFigures(*list), copied);
    EXPECT_EQ(list->GetItemText(IDC_MASTERS_SEARCHING), "15");
    const std::vector<int> domains = SearchedDomains();
    ASSERT_GE(domains.size(), 16u);
    for (int step = 0; step < 16; ++step) {
        EXPECT_EQ(domains[step], step);
    }

    // Each step stops the search, pauses, and starts the next domain 1.5 s after the last.
    const auto stops = recorder->Of(kCmdStopSearch);
    const auto starts = recorder->Of(kCmdStartMasterSearch);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_EQ(starts[i].atMs - stops[i].atMs, MasterSearch::kSearchPauseMs);
        EXPECT_EQ(stops[i].atMs - starts[i - 1].atMs, MasterSearch::kDomainStepMs);
    }

    emulator->Control("master 00a0d4020001 domain=2");
    ui.RunFor(kSweepMs);
    EXPECT_EQ(Rows(), kSweep);
}

TEST_F(MasterListTest, UseDomainAppliesTheDomainOnlyWhenConfirmed) {
    for (const bool yes : {false, true}) {
        OpenList(MasterListDialog::kSearchAll, 15);
        ui.RunFor(4000);
        list->ClickRow(IDC_MASTERS_LIST, 0);
        ui.ExpectModal(IDD_CHANGE_DOMAIN, [yes](Dialog&, HeadlessHost& prompt) {
            EXPECT_EQ(prompt.GetItemText(IDC_CHANGE_DOMAIN_PROMPT), "Update to Domain 0?");
            if (yes) {
                prompt.Click(kIdOk);
            } else {
                prompt.PressCloseBox();  // the close box means No
            }
        });
        recorder->sent.clear();
        list->Click(IDC_MASTERS_USE_DOMAIN);
        ui.RunFor(6000);

        EXPECT_EQ(MasterButtons(), std::vector<bool>(3, false));
        EXPECT_EQ(list->IsChecked(IDC_MASTERS_SEARCH_ONE), yes);
        EXPECT_EQ(list->IsEnabled(IDC_MASTERS_DOMAIN), yes);
        EXPECT_EQ(SearchedDomains(), (yes ? std::vector<int>{0, 0, 0} : std::vector<int>{2, 3, 4}));
        EXPECT_EQ(emulator->Config().domain, yes ? 0 : 15);
        AdapterSettings stored(registry, context->version);
        stored.Load();
        EXPECT_EQ(stored.Domain, yes ? 0 : 15);
        CloseList();
    }
}

TEST_F(MasterListTest, RomVersionDecidesWhatClicksDoAndLinkTestsShareTheirSize) {
    for (const auto& [rom, linkTests] : {std::pair{"V1.48  ", false}, {"V1.47a ", true}}) {
        OpenList(MasterListDialog::kSearchOne, 1, 0, Edited(kMastersScenario, "V1.49b ", rom));
        ui.RunFor(1000);
        list->ClickRow(IDC_MASTERS_LIST, 0);
        EXPECT_EQ(MasterButtons(), (std::vector<bool>{true, linkTests, linkTests}));
        std::vector<std::string> tests;  // each link test's Master and starting packet size
        const auto linkTest = [&](Dialog&, HeadlessHost& test) {
            tests.push_back(std::string(driver->card.masterAddress) + "/" +
                            std::to_string(test.TrackBarGetPos(IDC_LINK_PACKET_SLIDER)));
            test.MoveTrackBar(IDC_LINK_PACKET_SLIDER, 60);
            test.Click(kIdOk);
        };
        if (linkTests) {
            ui.ExpectModal(IDD_DIRECTED_LINK, linkTest);
        }
        list->DoubleClickRow(IDC_MASTERS_LIST, 0);
        EXPECT_EQ(list->ListViewSelectedRow(IDC_MASTERS_LIST), linkTests ? -1 : 0);
        if (linkTests) {
            ui.ExpectModal(IDD_DIRECTED_LINK, linkTest);
            list->ClickRow(IDC_MASTERS_LIST, 0);
            // Search All clicked while the card moves onto the Master leaves the test its Master.
            list->QueueMouse([&] { list->Click(IDC_MASTERS_SEARCH_ALL); });
            list->Click(IDC_MASTERS_TEST_LINK);
            EXPECT_EQ(list->QueuedMouse(), 0u);
        }
        EXPECT_EQ(tests,
                  (linkTests ? std::vector<std::string>{"00a0d4020002/1500", "00a0d4020002/60"}
                             : std::vector<std::string>{}));
        CloseList();
    }
}

TEST_F(MasterListTest, APickedDomainAndAClickBesideTheRowsWaitForWhatTheyActAndRowsAreBounded) {
    // Domain 0 is picked while the card still searches 1: what it hears until the next step is
    // filed under 1.
    OpenList(MasterListDialog::kSearchOne, 1);
    ui.RunFor(700);
    list->Select(IDC_MASTERS_DOMAIN, 0);
    ui.RunFor(2500);
    EXPECT_EQ(Rows(), (Table{kSweep[2], kSweep[1]}));
    list->ClickRow(IDC_MASTERS_LIST, 0);
    list->ClickRow(IDC_MASTERS_LIST, -1);
    EXPECT_EQ(MasterButtons(), std::vector<bool>(3, true));
    recorder->sent.clear();
    InjectFailure(kCmdStopSearch, kStatusFailed);  // a stop that failed is sent again
    list->DoubleClickRow(IDC_MASTERS_LIST, -1);
    EXPECT_EQ(MasterButtons(), std::vector<bool>(3, false));
    EXPECT_EQ(recorder->Of(kCmdStopSearch).size(), 2u);
    EXPECT_EQ(list->Timers().at(MasterListDialog::kSearchTimer), 100u);

    // An endless stream of new addresses stops at the bound.
    uint16_t n = 0;
    recorder->tamper = [&](uint8_t* reply) {
        ++n;
        SetParameter(reply, kParamMasterAddress, {2, 0, 0, uint8_t(n >> 8), uint8_t(n), 1});
    };
    ui.RunFor((MasterSearch::kMaxMasters + 200) * 150);
    EXPECT_EQ(Rows().size(), MasterSearch::kMaxMasters);
}

// A configured Master searches as a Station and gets its role back; 258 is no role: its low byte
// would make the card a Master.
TEST_F(MasterListTest, AChannelFailureRestartsTheDriverBeforeAnythingElseAndRolesComeBack) {
    using Failure = std::tuple<uint32_t, int, uint8_t>;
    for (const auto& [command, stored, role] :
         {Failure{kCmdGetDriverData, kStationTypeMaster, kStationTypeMaster},
          Failure{kCmdStartMasterSearch, 258, kStationTypeStation}}) {
        OpenList(MasterListDialog::kSearchAll, 15, stored);
        EXPECT_EQ(emulator->Config().stationType, kStationTypeStation);
        EXPECT_EQ(recorder->Of(kCmdInitCard).size(), 1u);
        InjectFailure(command, kStatusChannelLost);
        InjectFailure(kCmdRestartDriver, kStatusChannelLost, "count=3");
        recorder->sent.clear();
        ui.RunFor(kSweepMs + 2000);
        // The card's own Master, heard between the restart and the next search, is no row.
        const Table rows = Rows();
        EXPECT_TRUE(std::is_permutation(rows.begin(), rows.end(), kSweep.begin(), kSweep.end()));
        std::vector<uint32_t> commands;
        for (const RecordingIo::Sent& s : recorder->sent) {
            commands.push_back(s.command);
        }
        const auto failed = std::find(commands.begin(), commands.end(), command);
        ASSERT_NE(failed, commands.end());
        EXPECT_EQ(std::vector<uint32_t>(failed + 1, failed + 6),
                  (std::vector<uint32_t>{kCmdRestartDriver, kCmdRestartDriver, kCmdRestartDriver,
                                         kCmdRestartDriver, kCmdGetDriverData}));
        EXPECT_EQ(std::count(commands.begin(), commands.end(), kCmdRestartDriver), 4);
        CloseList();
        EXPECT_EQ(emulator->Config().stationType, role) << stored;
    }
}

// A Master the driver reports is listed with its numbers as they came, whatever their range; a
// report with no Master address gives no row, and a name without its NUL stays bounded.
TEST_F(MasterListTest, OddReportsAreListedAsTheyCameAndNamesStayBounded) {
    const std::vector<uint8_t> longName(kMasterNameSize, 'N');
    const struct {
        uint16_t id;
        std::vector<uint8_t> value;
        Table rows;
    } cases[] = {{kParamChannel, {0}, {{"00a0d4020002", "1", "0/7", "Lobby"}}},
                 {kParamSubchannel, {255}, {{"00a0d4020002", "1", "3/255", "Lobby"}}},
                 {kParamMasterAddress, std::vector<uint8_t>(6, 0), {}},
                 {kParamMasterName, longName, {{"00a0d4020002", "1", "3/7", "NNNNNNNNNNN"}}}};
    for (const auto& c : cases) {
        OpenList(MasterListDialog::kSearchOne, 1);
        recorder->tamper = [&](uint8_t* reply) { SetParameter(reply, c.id, c.value); };
        ui.RunFor(3000);
        EXPECT_EQ(Rows(), c.rows) << c.id;
        CloseList();
    }
}

TEST_F(MasterListTest, TheMainDialogGivesAndTakesTheSearchModeAndHelpShowsItsSection) {
    OpenList(MasterListDialog::kSearchOne, 99);  // a stored domain the card cannot have
    CloseList();
    files["zazivev.hlp"] = "HELPMSTR\nmasters\nHELPCONFIG\n";
    std::string caption;
    ui.ExpectModal(IDD_MASTER_LIST, [&](Dialog&, HeadlessHost& sub) {
        EXPECT_TRUE(sub.IsChecked(IDC_MASTERS_SEARCH_ONE));
        EXPECT_EQ(sub.GetItemText(IDC_MASTERS_SEARCHING), "0");
        EXPECT_TRUE(ui.PressAccelerator(IDC_MASTERS_DOMAIN));
        EXPECT_EQ(sub.Focus(), IDC_MASTERS_DOMAIN);
        ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
            caption = help.Caption() + "/" + help.Control(IDC_HELP_LIST).items.at(0);
            help.Click(kIdOk);
        });
        sub.Click(IDC_MASTERS_HELP);
        sub.Click(IDC_MASTERS_SEARCH_ALL);
        sub.Click(kIdOk);
    });
    main->Click(IDC_MAIN_MASTERS);
    EXPECT_EQ(caption, "Master List Help/masters");
    ui.ExpectModal(IDD_MASTER_LIST, [](Dialog&, HeadlessHost& sub) {
        EXPECT_TRUE(sub.IsChecked(IDC_MASTERS_SEARCH_ALL)) << "the mode given back is kept";
        sub.Click(kIdOk);
    });
    main->Click(IDC_MAIN_MASTERS);
    EXPECT_EQ(ui.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace vz
