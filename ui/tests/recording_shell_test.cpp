// The test shell models what the real one decides for itself: caption reads and the tray's rules.
#include <gtest/gtest.h>

#include "platform/fake/recording_shell.h"
#include "platform/fake/virtual_clock.h"
#include "ui/headless/headless_ui.h"
#include "ui/tests/probe_dialog.h"

namespace vz {
namespace {

TEST(RecordingShellTest, CaptionsAreReadAs79CharactersAndEmptyOnesSkipped) {
    RecordingShell shell;
    const std::string longCaption(90, 'x');
    shell.AddWindow("", 0x10);
    shell.AddWindow(longCaption, 0x20);
    shell.AddWindow("Vezurez Status Monitor Information", 0x30, true);
    shell.AddWindow("Vezurez Status Monitor Information", 0x40);

    EXPECT_EQ(shell.FindTopLevelWindow(""), 0u);
    EXPECT_EQ(shell.FindTopLevelWindow(longCaption), 0u);
    EXPECT_EQ(shell.FindTopLevelWindow(longCaption.substr(0, 79)), 0x20u);
    EXPECT_EQ(shell.FindTopLevelWindow("vezurez status monitor information"), 0u);
    WindowRef found = shell.FindTopLevelWindow("Vezurez Status Monitor Information");
    EXPECT_EQ(found, 0x30u);
    EXPECT_TRUE(shell.IsMinimised(found));
    shell.Restore(found);
    EXPECT_FALSE(shell.IsMinimised(found));
}

TEST(RecordingShellTest, TrayAcceptsWhatTheShellWouldAndForcedAnswersWin) {
    RecordingShell shell;
    TrayEntry entry{0x100, 130, 7, 1124, 130, "Out of Range of Master"};
    struct Step {
        const char* name;
        RecordingShell::TrayCall::Kind kind;
        bool expected;
    };
    using Kind = RecordingShell::TrayCall::Kind;
    const Step steps[] = {
        {"modify before add", Kind::kModify, false},
        {"add", Kind::kAdd, true},
        {"add twice", Kind::kAdd, false},
        {"modify", Kind::kModify, true},
        {"delete", Kind::kDelete, true},
        {"delete twice", Kind::kDelete, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        bool result = s.kind == Kind::kAdd      ? shell.TrayAdd(entry)
                      : s.kind == Kind::kModify ? shell.TrayModify(entry)
                                                : shell.TrayDelete(entry);
        EXPECT_EQ(result, s.expected);
    }
    shell.QueueTrayResult(false);
    EXPECT_FALSE(shell.TrayAdd(entry));
    EXPECT_TRUE(shell.TrayIcons().empty());
    EXPECT_TRUE(shell.TrayAdd(entry));
    shell.ForgetTrayEntries();
    EXPECT_FALSE(shell.TrayModify(entry));
    EXPECT_EQ(shell.TrayCalls().size(), 9u);
}

TEST(RecordingShellTest, WorkerPostsToTheHeadlessWindowOrIsLost) {
    VirtualClock clock;
    HeadlessUi ui(clock);
    RecordingShell shell;
    shell.SetPostTarget([&](WindowRef w, uint32_t m) { ui.Post(w, m); });
    test::ProbeDialog dialog(140);
    HeadlessHost& host = ui.Open(dialog);
    std::string sent;
    ASSERT_TRUE(shell.StartWorker(
        kThreadPriorityHighest, [&] { sent = "id"; }, host.Window(), 1034));
    EXPECT_TRUE(sent.empty());  // nothing runs until the test lets it
    shell.RunWorkers();
    ui.Settle();
    EXPECT_EQ(sent, "id");
    EXPECT_EQ(dialog.seen.back(), "user 1034");

    shell.StartWorker(kThreadPriorityHighest, nullptr, host.Window(), 1034);
    host.DestroyWindow();
    shell.RunWorkers();
    ui.Settle();
    EXPECT_EQ(ui.Events().back(), "140 lost 1034");
    EXPECT_EQ(shell.Workers()[0].priority, kThreadPriorityHighest);
}

}  // namespace
}  // namespace vz
