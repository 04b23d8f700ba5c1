// The single-instance rule and the small message dialogs.
#include <gtest/gtest.h>

#include "platform/fake/recording_shell.h"
#include "platform/running_copy.h"
#include "zazivev/app/tool_app.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

TEST(RunningCopy, RestoresAMinimisedCopyAndRaisesAnOpenOne) {
    RecordingShell shell;
    EXPECT_FALSE(RaiseRunningCopy(shell, "Vezurez Site Survey & Configuration Tool"));
    shell.AddWindow("Vezurez Site Survey & Configuration Tool ", 5);
    shell.AddWindow("vezurez site survey & configuration tool", 6);
    EXPECT_FALSE(RaiseRunningCopy(shell, "Vezurez Site Survey & Configuration Tool"));
    shell.AddWindow("Vezurez Site Survey & Configuration Tool", 7, true);
    EXPECT_TRUE(RaiseRunningCopy(shell, "Vezurez Site Survey & Configuration Tool"));
    shell.RemoveWindow(7);
    shell.AddWindow("Vezurez Site Survey & Configuration Tool", 8, false);
    EXPECT_TRUE(RaiseRunningCopy(shell, "Vezurez Site Survey & Configuration Tool"));
    const std::vector<std::string> expected = {"Restore 0x7", "BringToForeground 0x8"};
    std::vector<std::string> actions;
    for (const auto& call : shell.Calls()) {
        if (call.rfind("Restore", 0) == 0 || call.rfind("BringToForeground", 0) == 0) {
            actions.push_back(call);
        }
    }
    EXPECT_EQ(actions, expected);
}

class Application : public ToolTest {};

TEST_F(Application, SecondStartRaisesTheFirstAndEndsWithZeroWithoutAWindow) {
    StartWithoutOpening(kQuickScenario);
    ToolApp app(*context, cardHost);
    int runs = 0;
    const auto run = [&](Dialog& dialog) {
        ++runs;
        EXPECT_EQ(dialog.TemplateId(), IDD_MAIN);
    };
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, 1);
    shell.AddWindow("Vezurez Site Survey & Configuration Tool", 9, true);
    EXPECT_EQ(app.Run(run), 0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(shell.Calls().back(), "Restore 0x9");
}

class MessageDialogs : public ToolTest {};

TEST_F(MessageDialogs, ChangeDomainPromptNamesTheDomainAndCloseBoxMeansNo) {
    InstallAdapter();
    Start();
    for (int domain : {0, 15}) {
        ChangeDomainDialog prompt(domain);
        std::string text;
        ui.ExpectModal(IDD_CHANGE_DOMAIN, [&](Dialog&, HeadlessHost& host) {
            text = host.GetItemText(IDC_CHANGE_DOMAIN_PROMPT);
            host.PressCloseBox();
        });
        EXPECT_EQ(main->RunModal(prompt), kIdCancel);
        EXPECT_EQ(text, "Update to Domain " + std::to_string(domain) + "?");
        EXPECT_FALSE(prompt.confirmed);
    }
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
