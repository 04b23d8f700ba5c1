// The single-instance rule and the small message dialogs.
#include <gtest/gtest.h>

#include "platform/running_copy.h"
#include "zazivev/app/tool_app.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

class Application : public ToolTest {};

// Only a window of exactly the tool's caption is a running copy: it is raised (restored when
// minimised) and the second start ends with 0 without a window of its own.
TEST_F(Application, SecondStartRaisesTheFirstAndEndsWithZeroWithoutAWindow) {
    StartWithoutOpening(kQuickScenario);
    ToolApp app(*context, cardHost);
    int runs = 0;
    const auto run = [&](Dialog& dialog) {
        ++runs;
        EXPECT_EQ(dialog.TemplateId(), IDD_MAIN);
    };
    shell.AddWindow(TEXT_MAIN_CAPTION " ", 5);
    shell.AddWindow("vezurez site survey & configuration tool", 6);
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, 1);
    shell.AddWindow(TEXT_MAIN_CAPTION, 9, true);
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(shell.Calls().back(), "Restore 0x9");
}

class MessageDialogs : public ToolTest {};

TEST_F(MessageDialogs, ChangeDomainPromptNamesTheDomainAndCloseBoxMeansNo) {
    InstallAdapter();
    Start();
    ChangeDomainDialog prompt(15);
    std::string text;
    ui.ExpectModal(IDD_CHANGE_DOMAIN, [&](Dialog&, HeadlessHost& host) {
        text = host.GetItemText(IDC_CHANGE_DOMAIN_PROMPT);
        host.PressCloseBox();
    });
    EXPECT_EQ(main->RunModal(prompt), kIdCancel);
    EXPECT_EQ(text, "Update to Domain 15?");
    EXPECT_FALSE(prompt.confirmed);
    ChangeDomainDialog yes(4);
    ui.ExpectModal(IDD_CHANGE_DOMAIN, [](Dialog&, HeadlessHost& host) { host.Click(kIdOk); });
    EXPECT_EQ(main->RunModal(yes), kIdOk);
    EXPECT_TRUE(yes.confirmed);
}

TEST_F(MessageDialogs, InitCardShowsTheStatusWindowWhileItWorks) {
    InstallAdapter();
    Start();
    ui.RunFor(100);
    EXPECT_TRUE(ContainsInOrder(ui.Events(), {"102 capture", "148 open modeless", "148 init",
                                              "148 destroy", "102 release"}));
}

}  // namespace
}  // namespace vz
