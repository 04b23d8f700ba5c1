// The main dialog around the check: closing, the sub-dialog frame, help, the system menu, exit.
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

class MainWindow : public ToolTest {
  protected:
    void SetUp() override {
        InstallAdapter();
        Start();
        ui.RunFor(100);
    }
};

TEST_F(MainWindow, EscapeIsIgnoredUntilTheWindowIsAskedToClose) {
    main->PressEscape();
    ui.Settle();
    EXPECT_FALSE(main->Ended());
    main->PressCloseBox();
    ui.Settle();
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(main->EndCode(), kIdCancel);
}

TEST_F(MainWindow, ExitReleasesTheCardAndWritesTheTimeOutBackOnTheCardsScale) {
    main->Click(kIdOk);
    ui.Settle();
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(emulator->Counters().requests[kCmdReleaseCard], 1u);
    EXPECT_EQ(emulator->Config().inactivity, 2 * 12 + 15 / 5);
    EXPECT_EQ(driver->handle, kInvalidDeviceHandle);
}

TEST_F(MainWindow, SubDialogsReopenTheDriverAndRunTheCheckAgain) {
    struct Case {
        int button;
        int templateId;
        bool closesChannel;
    };
    for (const Case c :
         {Case{IDC_MAIN_MASTERS, IDD_MASTER_LIST, true},
          Case{IDC_MAIN_SITE_SURVEY, IDD_SITE_SURVEY, true}, Case{IDC_MAIN_SNOOP, IDD_SNOOP, true},
          Case{IDC_MAIN_CONFIGURATION, IDD_CONFIGURATION, false}}) {
        int contextDuringRun = 0;
        ui.ExpectModal(c.templateId, [&](Dialog&, HeadlessHost& sub) {
            contextDuringRun = context->helpContext;
            sub.Click(kIdOk);
        });
        const uint64_t closesBefore = emulator->Counters().closes;
        main->Click(c.button);
        EXPECT_EQ(contextDuringRun, c.button);
        EXPECT_EQ(context->helpContext, kHelpContextMain);
        EXPECT_EQ(emulator->Counters().closes - closesBefore, c.closesChannel ? 1u : 0u);
        EXPECT_EQ(main->Timers().at(1), 100u);
        ui.RunFor(100);
        EXPECT_EQ(main->Focus(), c.button);
        EXPECT_TRUE(Report().ends_with("Synchronized to 00a0d4010001  Lobby"));
    }
}

TEST_F(MainWindow, HelpShowsTheSectionOfThePlaceAndTakesTheFocusForTheNextPass) {
    files["zazivev.hlp"] = "HELPMAIN\nline one\n;comment\nline two\nHELPMSTR\nmasters\n";
    std::vector<std::string> lines;
    std::string caption;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
        lines = help.Control(IDC_HELP_LIST).items;
        caption = help.Caption();
        help.Click(kIdOk);
    });
    main->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(caption, "Main Help");
    EXPECT_EQ(lines, (std::vector<std::string>{"line one", "line two"}));

    ui.ExpectModal(IDD_CONFIGURATION, [](Dialog&, HeadlessHost& sub) { sub.Click(kIdOk); });
    main->Click(IDC_MAIN_CONFIGURATION);
    ui.ExpectModal(IDD_HELP, [](Dialog&, HeadlessHost& help) { help.Click(kIdOk); });
    main->Click(IDC_HELP_COMMAND);
    ui.RunFor(100);
    EXPECT_EQ(main->Focus(), IDC_HELP_COMMAND);
}

TEST_F(MainWindow, HelpFileFoundOnlyAlongPathIsReadFromThere) {
    shell.SetCurrentDirectory("C:\\work");
    shell.SetEnvironmentVariable("PATH", "C:\\bin;D:\\tools\\;E:");
    shell.AddFile("D:\\tools\\zazivev.hlp");
    files["D:\\tools\\zazivev.hlp"] = "HELPMAIN\nfrom tools\n";
    std::vector<std::string> lines;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
        lines = help.Control(IDC_HELP_LIST).items;
        help.Click(kIdOk);
    });
    main->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(lines, (std::vector<std::string>{"from tools"}));
}

TEST_F(MainWindow, MissingHelpFileGivesAnEmptyListUnderTheTitle) {
    std::string caption;
    int count = -1;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
        caption = help.Caption();
        count = help.ListBoxCount(IDC_HELP_LIST);
        help.Click(kIdOk);
    });
    main->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(caption, "Main Help");
    EXPECT_EQ(count, 0);
}

TEST_F(MainWindow, SystemMenuGetsAboutAndGreysSizeAndMaximise) {
    const auto& menu = main->SystemMenu();
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu.back().text, "&About Vezurez Site Survey & Configuration Tool...");
    EXPECT_EQ(menu.back().commandId, 16u);
    for (const auto& item : menu) {
        EXPECT_EQ(item.greyed, item.text == "&Size" || item.text == "Ma&ximize") << item.text;
    }
    bool aboutShown = false;
    ui.ExpectModal(IDD_ABOUTBOX, [&](Dialog&, HeadlessHost& about) {
        aboutShown = true;
        about.Click(kIdOk);
    });
    main->FireSysCommand(16 + 3);
    EXPECT_TRUE(aboutShown);
}

TEST_F(MainWindow, MinimisedWindowDrawsItsIconCentred) {
    main->SetClientSize(0, 37, 40);
    main->FirePaint();
    EXPECT_TRUE(main->Control(0).canvas.empty()) << "an open window paints as usual";
    main->SetMinimised(true);
    main->FirePaint();
    const auto& ops = main->Control(0).canvas;
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back().kind, CanvasOp::Kind::kIcon);
    EXPECT_EQ(ops.back().iconResourceId, IDI_MAIN);
    const int icon = main->IconWidth();
    EXPECT_EQ(ops.back().rect.left, (37 - icon + 1) / 2);
    EXPECT_EQ(ops.back().rect.top, (40 - main->IconHeight() + 1) / 2);
}

TEST_F(MainWindow, HelpFileByItsPlainNameComesBeforeTheOneOnPath) {
    shell.SetEnvironmentVariable("PATH", "D:\\tools");
    shell.AddFile("D:\\tools\\zazivev.hlp");
    files["D:\\tools\\zazivev.hlp"] = "HELPMAIN\nfrom tools\n";
    files["zazivev.hlp"] = "HELPMAIN\nbeside the tool\n";
    std::vector<std::string> lines;
    ui.ExpectModal(IDD_HELP, [&](Dialog&, HeadlessHost& help) {
        lines = help.Control(IDC_HELP_LIST).items;
        help.Click(kIdOk);
    });
    main->Click(IDC_HELP_COMMAND);
    EXPECT_EQ(lines, (std::vector<std::string>{"beside the tool"}));
}

}  // namespace
}  // namespace vz
