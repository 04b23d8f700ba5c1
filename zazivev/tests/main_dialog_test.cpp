// The main dialog around the check: closing, the sub-dialogs, help, the system menu, exit, and the
// single-instance rule.
#include "zazivev/app/tool_app.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

class MainWindow : public ToolTest {
  protected:
    void SetUp() override {
        // The card comes with its inactivity time-out on; the tool turns it off while it runs.
        InstallAdapter();
        Start(Edited(kQuickScenario, "roaming=0", "roaming=0 inactivity=9"));
        ui.RunFor(100);
    }

    // The lines of the help window that opens from the main window.
    std::vector<std::string> HelpLines() {
        std::vector<std::string> lines;
        ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
            EXPECT_EQ(help.Caption(), "Main Help");
            lines = help.Control(IDC_HELP_LIST).items;
            help.Click(kIdOk);
        });
        main->Click(IDC_HELP_COMMAND);
        return lines;
    }
};

// InitCard shows the status window while it works; the system menu gets About and greys Size and
// Maximize; Escape is ignored until the window is asked to close.
TEST_F(MainWindow, StatusWindowSystemMenuAndClosing) {
    const std::string mainWindow = std::to_string(IDD_MAIN), status = std::to_string(IDD_STATUS);
    EXPECT_TRUE(ContainsInOrder(
        ui.Events(), {mainWindow + " capture", status + " open modeless", status + " init",
                      status + " destroy", mainWindow + " release"}));
    const auto& menu = main->SystemMenu();
    EXPECT_EQ(menu.back().text, TEXT_ABOUTBOX);
    EXPECT_EQ(menu.back().commandId, uint32_t(IDM_ABOUTBOX));
    for (const auto& item : menu) {
        EXPECT_EQ(item.greyed, item.text == "&Size" || item.text == "Ma&ximize") << item.text;
    }
    ui.ExpectModal(IDD_ABOUTBOX, [](Dialog&, HeadlessHost& about) { about.Click(kIdOk); });
    main->FireSysCommand(IDM_ABOUTBOX + 3);
    EXPECT_EQ(ui.PendingAnswers(), 0u) << "About shown";
    main->PressEscape();
    ui.Settle();
    EXPECT_FALSE(main->Ended());
    main->PressCloseBox();
    ui.Settle();
    EXPECT_EQ(main->EndCode(), kIdCancel);
}

TEST_F(MainWindow, SubDialogsAndHelpRunTheCheckAgainAndTheHelpFileIsFoundAlongPath) {
    const std::tuple<int, int, bool> kButtons[] = {
        {IDC_MAIN_MASTERS, IDD_MASTER_LIST, true},
        {IDC_MAIN_SITE_SURVEY, IDD_SITE_SURVEY, true},
        {IDC_MAIN_SNOOP, IDD_SNOOP, true},
        {IDC_MAIN_CONFIGURATION, IDD_CONFIGURATION, false}};
    for (const auto& [button, templateId, closesChannel] : kButtons) {
        int contextDuringRun = 0;
        ui.ExpectModal(templateId, [&](Dialog&, HeadlessHost& sub) {
            contextDuringRun = context->helpContext;
            sub.PressEscape();
        });
        const uint64_t closesBefore = emulator->Counters().closes;
        main->Click(button);
        EXPECT_EQ(contextDuringRun, button);
        EXPECT_EQ(context->helpContext, kHelpContextMain);
        EXPECT_EQ(emulator->Counters().closes - closesBefore, closesChannel ? 1u : 0u);
        ui.RunFor(100);
        EXPECT_EQ(main->Focus(), button);
        EXPECT_TRUE(Report().ends_with("Synchronized to 00a0d4010001  Lobby"));
    }

    // The help file by its plain name, else along PATH, else an empty list.
    EXPECT_TRUE(HelpLines().empty());
    shell.SetCurrentDirectory("C:\\work");
    shell.SetEnvironmentVariable("PATH", "C:\\bin;D:\\tools\\;E:");
    shell.AddFile("D:\\tools\\zazivev.hlp");
    files["D:\\tools\\zazivev.hlp"] = "HELPMAIN\nfrom tools\n";
    EXPECT_EQ(HelpLines(), std::vector<std::string>{"from tools"});
    files["zazivev.hlp"] = "HELPMAIN\nbeside the tool\nHELPMSTR\nmasters\n";
    EXPECT_EQ(HelpLines(), std::vector<std::string>{"beside the tool"});
    // The focus goes back to Help after the next pass of the check.
    ui.ExpectModal(IDD_CONFIGURATION, [](Dialog&, HeadlessHost& sub) { sub.Click(kIdCancel); });
    main->Click(IDC_MAIN_CONFIGURATION);
    HelpLines();
    ui.RunFor(100);
    EXPECT_EQ(main->Focus(), IDC_HELP_COMMAND);
}

// Only a window of exactly the tool's caption is a running copy: it is raised (restored when
// minimised) and the second start ends with 0 without a window of its own.
TEST_F(MainWindow, SecondStartRaisesTheFirstAndEndsWithZeroWithoutAWindow) {
    ToolApp app(*context, cardHost);
    std::vector<int> runs;  // the dialogs run, by template
    const auto run = [&](Dialog& dialog) { runs.push_back(dialog.TemplateId()); };
    shell.AddWindow(TEXT_MAIN_CAPTION " ", 5);
    shell.AddWindow("vezurez site survey & configuration tool", 6);
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, std::vector<int>{IDD_MAIN});
    shell.AddWindow(TEXT_MAIN_CAPTION, 9, true);
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, std::vector<int>{IDD_MAIN});
    EXPECT_EQ(shell.Calls().back(), "Restore 0x9");
}

TEST_F(MainWindow, FocusForALostSiteSurveyGoesToMastersAndExitReleasesTheCard) {
    EXPECT_EQ(emulator->Config().inactivity, 0) << "the time-out is off while the tool runs";
    emulator->Control("silence 00a0d4010001");
    ui.ExpectModal(IDD_SITE_SURVEY, [](Dialog&, HeadlessHost& survey) { survey.Click(kIdOk); });
    main->Click(IDC_MAIN_SITE_SURVEY);
    ui.RunFor(100);
    EXPECT_FALSE(Enabled(IDC_MAIN_SITE_SURVEY));
    EXPECT_EQ(main->Focus(), IDC_MAIN_MASTERS);

    // Exit writes the time-out back on the card's scale.
    main->Click(kIdOk);
    ui.Settle();
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 1u);
    EXPECT_EQ(emulator->Config().inactivity, 2 * 12 + 15 / 5);  // 2 min 15 s, as installed
    EXPECT_EQ(driver->handle, kInvalidDeviceHandle);
}

}  // namespace
}  // namespace vz
