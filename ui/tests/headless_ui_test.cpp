// The headless host where it carries logic of its own: modal scripts, timers, the message order,
// the dialog manager's defaults and the controls' own rules.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fake/virtual_clock.h"
#include "ui/headless/headless_ui.h"
#include "ui/tests/probe_dialog.h"

namespace vz {
namespace {

using test::ProbeDialog;

class HeadlessUiTest : public ::testing::Test {
  protected:
    VirtualClock clock{0};
    HeadlessUi ui{clock};
};

TEST_F(HeadlessUiTest, ModalAnswerEndsChildAndOwnerIsDisabledMeanwhile) {
    ProbeDialog main(100);
    int childResult = 0;
    main.onCommand = [&](int id, int) {
        if (id == 1000) {
            ProbeDialog child(200);
            childResult = main.Host()->RunModal(child);
        }
    };
    HeadlessHost& host = ui.Open(main);
    bool ownerReachable = true;
    ui.ExpectModal(200, [&](Dialog& d, HeadlessHost& child) {
        EXPECT_EQ(d.TemplateId(), 200);
        ownerReachable = host.Click(1000);
        EXPECT_TRUE(child.Click(kIdOk));
    });
    ui.ClearEvents();
    ASSERT_TRUE(host.Click(1000));

    EXPECT_EQ(childResult, kIdOk);
    EXPECT_FALSE(ownerReachable);
    EXPECT_EQ(ui.Events(),
              (std::vector<std::string>{"100 command 1000 0", "200 open modal", "200 init",
                                        "200 command 1 0", "200 end 1", "200 destroy"}));
    EXPECT_EQ(ui.PendingAnswers(), 0u);
    EXPECT_TRUE(host.IsWindowEnabled());
}

TEST_F(HeadlessUiTest, ModalScriptMistakesThrowAndLeaveNoWindowBehind) {
    struct Case {
        const char* name;
        std::function<void(HeadlessUi&)> script;
    };
    const Case cases[] = {
        {"no answer", [](HeadlessUi&) {}},
        {"wrong template",
         [](HeadlessUi& u) { u.ExpectModal(999, [](Dialog&, HeadlessHost&) {}); }},
        {"left open", [](HeadlessUi& u) { u.ExpectModal(200, [](Dialog&, HeadlessHost&) {}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeDialog main(100);
        ProbeDialog child(200);
        HeadlessHost& host = ui.Open(main);
        c.script(ui);
        EXPECT_THROW(host.RunModal(child), std::logic_error);
        EXPECT_EQ(child.Host(), nullptr);
        EXPECT_EQ(child.seen.back(), "destroy");
        host.DestroyWindow();
    }
}

TEST_F(HeadlessUiTest, DialogEndedDuringInitNeedsNoAnswer) {
    ProbeDialog main(100);
    ProbeDialog child(200);
    child.onInit = [&] { child.Host()->EndDialog(7); };
    HeadlessHost& host = ui.Open(main);
    EXPECT_EQ(host.RunModal(child), 7);
}

TEST_F(HeadlessUiTest, TimersFireInTimeOrderAndRestartOnSet) {
    ProbeDialog main(100);
    main.onInit = [&] {
        main.Host()->SetTimer(1, 100);
        main.Host()->SetTimer(2, 250);
    };
    HeadlessHost& host = ui.Open(main);
    main.seen.clear();
    ui.RunFor(500);
    // At 500 both fall due; the one started first goes first.
    EXPECT_EQ(main.seen, (std::vector<std::string>{"timer 1", "timer 1", "timer 2", "timer 1",
                                                   "timer 1", "timer 1", "timer 2"}));
    EXPECT_EQ(clock.NowMs(), 500u);

    host.SetTimer(1, 1000);  // restarting counts from now
    host.KillTimer(2);
    main.seen.clear();
    ui.RunFor(999);
    EXPECT_TRUE(main.seen.empty());
    EXPECT_TRUE(ui.RunNextTimer());
    EXPECT_EQ(clock.NowMs(), 1500u);
    EXPECT_EQ(host.Timers(), (std::map<uint32_t, uint32_t>{{1, 1000}}));
}

TEST_F(HeadlessUiTest, OverrunTickComesOnceLateNotAsABacklog) {
    ProbeDialog main(100);
    main.onInit = [&] { main.Host()->SetTimer(1, 100); };
    main.onTimer = [&](uint32_t) {
        if (main.seen.size() == 2) {  // the first tick blocks for 350 ms
            clock.SleepMs(350);
        }
    };
    ui.Open(main);
    ui.RunFor(600);
    // Ticks at 100 (running to 450), 450, 550: never three at once after the long one.
    EXPECT_EQ(std::count(main.seen.begin(), main.seen.end(), "timer 1"), 3);
}

TEST_F(HeadlessUiTest, OwnerTimerRunsWhileModalChildIsOpen) {
    ProbeDialog main(100);
    main.onInit = [&] { main.Host()->SetTimer(1, 1000); };
    main.onCommand = [&](int id, int) {
        ProbeDialog help(149);
        main.Host()->RunModal(help);
    };
    HeadlessHost& host = ui.Open(main);
    ui.ExpectModal(149, [&](Dialog&, HeadlessHost& help) {
        ui.RunFor(2500);
        help.Click(kIdOk);
    });
    host.FireCommand(57670);
    EXPECT_TRUE(ContainsInOrder(
        ui.Events(), {"149 init", "100 timer 1", "100 timer 1", "149 command 1 0", "149 destroy"}));
}

TEST_F(HeadlessUiTest, CloseBoxTakesTheDefaultPathUnlessHandled) {
    ProbeDialog main(100);
    HeadlessHost& host = ui.Open(main);
    host.PressCloseBox();
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.EndCode(), kIdCancel);
    EXPECT_FALSE(host.IsOpen());
    EXPECT_EQ(main.seen.back(), "destroy");

    ProbeDialog monitor(102);
    monitor.onClose = [&] { monitor.Host()->Show(false); };
    HeadlessHost& monitorHost = ui.Open(monitor);
    monitorHost.PressCloseBox();
    EXPECT_TRUE(monitorHost.IsOpen());
    EXPECT_FALSE(monitorHost.IsWindowVisible());
    EXPECT_FALSE(monitorHost.PressEscape());  // a hidden window gets no keys

    ProbeDialog about(103);
    about.onSysCommand = [](uint32_t id) { return (id & 0xFFF0) == kScClose; };
    HeadlessHost& aboutHost = ui.Open(about);
    EXPECT_TRUE(aboutHost.FireSysCommand(kScClose));
    EXPECT_TRUE(aboutHost.IsOpen());
}

TEST_F(HeadlessUiTest, UserActionsFollowTheControlsRules) {
    ui.DeclareTemplate(
        300,
        {"Probe",
         {ControlSpec(10, ControlKind::kCheckBox), ControlSpec(11, ControlKind::kRadio).Group(1),
          ControlSpec(12, ControlKind::kRadio).Group(1), ControlSpec(13, ControlKind::kEdit),
          ControlSpec(14, ControlKind::kButton, "&Hidden").Hidden(),
          ControlSpec(15, ControlKind::kButton).Disabled(), ControlSpec(16, ControlKind::kCombo)}});
    ProbeDialog dialog(300);
    HeadlessHost& host = ui.Open(dialog);
    EXPECT_EQ(host.Caption(), "Probe");
    EXPECT_EQ(host.GetItemText(14), "&Hidden");

    EXPECT_TRUE(host.Click(10));
    EXPECT_TRUE(host.IsChecked(10));
    EXPECT_TRUE(host.Click(10));
    EXPECT_FALSE(host.IsChecked(10));

    host.Click(11);
    host.Click(12);
    EXPECT_FALSE(host.IsChecked(11));
    EXPECT_TRUE(host.IsChecked(12));

    host.SetEditLimit(13, 5);
    host.Type(13, "ABCDEFGH");
    EXPECT_EQ(host.GetItemText(13), "ABCDE");
    host.SetItemText(13, "ABCDEFGH");  // the program's own text is not cut
    EXPECT_EQ(host.GetItemText(13), "ABCDEFGH");

    dialog.seen.clear();
    EXPECT_FALSE(host.Click(14));
    EXPECT_FALSE(host.Click(15));
    EXPECT_FALSE(host.Select(16, 0));  // nothing to pick
    EXPECT_TRUE(dialog.seen.empty());

    EXPECT_TRUE(host.SetButtonBitmaps(15, "DLU", "DLD"));
    EXPECT_EQ(host.Control(15).bitmapDown, "DLD");
    ui.SetBitmapsAvailable(false);
    EXPECT_FALSE(host.SetButtonBitmaps(14, "DLU", "DLD"));
    EXPECT_EQ(host.Control(14).bitmapUp, "");

    EXPECT_THROW(host.SetItemText(17, "typo"), std::logic_error);
}

TEST_F(HeadlessUiTest, SelectionsAndPositionsStayWithinTheControls) {
    ProbeDialog dialog(100);
    HeadlessHost& host = ui.Open(dialog);
    for (const char* text : {"Slow", "Normal", "Fast"}) {
        host.ComboAdd(5, text);
    }
    host.ComboSelect(5, 1);
    EXPECT_FALSE(host.ComboSelectText(5, "fast"));  // exact case only; selection kept
    EXPECT_EQ(host.ComboSelectedText(5), "Normal");
    EXPECT_EQ(host.GetItemText(5), "Normal");
    host.ComboSelect(5, 3);
    EXPECT_EQ(host.ComboSelectedIndex(5), -1);

    struct Case {
        int low, high, pos, expected;
    };
    for (const Case& c : {Case{60, 1500, 1500, 1500}, Case{60, 1500, 20, 60},
                          Case{60, 1500, 4000, 1500}, Case{1, 1, 8, 1}}) {
        host.TrackBarSetRange(6, c.low, c.high);
        host.TrackBarSetPos(6, c.pos);
        EXPECT_EQ(host.TrackBarGetPos(6), c.expected) << c.low << ".." << c.high << " " << c.pos;
        host.ScrollBarSetRange(7, c.low, c.high);
        host.ScrollBarSetPos(7, c.pos);
        EXPECT_EQ(host.ScrollBarGetPos(7), c.expected);
    }

    host.ListViewAddColumn(8, 0, "Address", 96);
    host.ListViewAddColumn(8, 1, "Domain", 48);
    EXPECT_EQ(host.ListViewInsertRow(8, 5, "00a0f8000001", 41), 0);
    host.ListViewSetText(8, 0, 1, "3");
    EXPECT_EQ(host.ListViewInsertRow(8, 1, "00a0f8000002", 42), 1);
    host.ClickRow(8, 1);
    EXPECT_EQ(host.ListViewSelectedRow(8), 1);
    EXPECT_EQ(host.ListViewRowData(8, 1), 42);
    EXPECT_EQ(host.Control(8).rows[0].texts, (std::vector<std::string>{"00a0f8000001", "3"}));
    host.ClickRow(8, -1);
    EXPECT_EQ(host.ListViewSelectedRow(8), -1);
    EXPECT_TRUE(
        ContainsInOrder(ui.Events(), {"100 notify 8 -7", "100 notify 8 -2", "100 notify 8 -2"}));
}

TEST_F(HeadlessUiTest, PostedMessagesReachOpenWindowsOnlyAndBeforePaints) {
    ProbeDialog dialog(140);
    dialog.onUser = [&](uint32_t) {
        dialog.Host()->ReleaseWithArrowCursor();
        return true;
    };
    HeadlessHost& host = ui.Open(dialog);
    host.CaptureWithWaitCursor();
    EXPECT_EQ(ui.Cursor(), CursorShape::kWait);
    host.Invalidate(0, false);
    ui.Post(host.Window(), 1034);
    ui.ClearEvents();
    ui.Settle();
    EXPECT_EQ(ui.Events(),
              (std::vector<std::string>{"140 user 1034 0 0", "140 release", "140 paint"}));
    EXPECT_EQ(ui.Cursor(), CursorShape::kArrow);
    EXPECT_EQ(ui.CaptureWindow(), 0u);

    host.CaptureWithWaitCursor();
    host.DestroyWindow();
    EXPECT_EQ(ui.CaptureWindow(), 0u);  // a destroyed window loses the capture
    ui.Post(host.Window(), 1034);
    ui.Settle();
    EXPECT_EQ(ui.Events().back(), "140 lost 1034");
}

TEST_F(HeadlessUiTest, DwellPumpTakesMouseBeforePaintAndLeavesKeysQueued) {
    struct Listener : PumpListener {
        std::vector<std::string> calls;
        void BeforeDispatch(Kind k) override {
            calls.push_back(k == Kind::kMouse ? "before mouse" : "before paint");
        }
        void AfterDispatch(Kind k) override {
            calls.push_back(k == Kind::kMouse ? "after mouse" : "after paint");
        }
    } listener;
    ProbeDialog dialog(147);
    HeadlessHost& host = ui.Open(dialog);
    host.Invalidate(0, false);
    host.QueueMouse([&] { host.Click(1030); });
    host.QueueKeyDown(kVkF1);
    dialog.seen.clear();

    EXPECT_EQ(host.PumpDwellMessages(listener), kVkF1);
    // The click ran inside the pump; the paint waited for the pump's own next round.
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"command 1030"}));
    EXPECT_EQ(host.PumpDwellMessages(listener), kVkF1);
    EXPECT_EQ(dialog.seen.back(), "paint");
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"before mouse", "after mouse",
                                                        "before paint", "after paint"}));
    EXPECT_EQ(host.QueuedKeys().size(), 1u);
    EXPECT_FALSE(host.PumpMouseMessage());
}

TEST_F(HeadlessUiTest, MousePumpServesTheWholeThreadButTheDwellOnlyItsWindow) {
    ProbeDialog main(100);
    HeadlessHost& host = ui.Open(main);
    bool childClicked = false;
    main.onCommand = [&](int, int) {
        ProbeDialog child(200);
        child.onInit = [&] {
            HeadlessHost& childHost = *ui.FindOpen(200);
            childHost.QueueMouse([&] { childClicked = true; });
            PumpListener listener;
            EXPECT_EQ(host.PumpDwellMessages(listener), 0);
            EXPECT_FALSE(childClicked);
            // A wait on the card started from the owner still serves the child's clicks.
            EXPECT_TRUE(host.PumpMouseMessage());
            EXPECT_TRUE(childClicked);
            childHost.EndDialog(kIdOk);
        };
        main.Host()->RunModal(child);
    };
    ASSERT_TRUE(host.Click(1000));
    EXPECT_TRUE(childClicked);
}

TEST_F(HeadlessUiTest, ModelessWindowsCloseWithTheirObjectOrTheirOwner) {
    ProbeDialog main(102);
    HeadlessHost& host = ui.Open(main);
    {
        ProbeDialog status(148);
        ASSERT_TRUE(host.OpenModeless(status));
        EXPECT_FALSE(host.OpenModeless(status));  // one window per object
        EXPECT_NE(ui.FindOpen(148), nullptr);
    }
    EXPECT_EQ(ui.FindOpen(148), nullptr);

    ProbeDialog status(148);
    host.OpenModeless(status);
    ui.ClearEvents();
    host.DestroyWindow();
    EXPECT_EQ(ui.Events(), (std::vector<std::string>{"148 destroy", "102 destroy"}));
    EXPECT_EQ(status.Host(), nullptr);
}

TEST_F(HeadlessUiTest, AcceleratorsReachTheTargetWhileItIsOpen) {
    ProbeDialog config(135);
    config.onInit = [&] { config.Host()->MakeAcceleratorTarget(); };
    HeadlessHost& host = ui.Open(config);
    int code = 0;
    config.onCommand = [&](int, int c) { code = c; };
    EXPECT_TRUE(ui.PressAccelerator(1101));
    EXPECT_EQ(code, kCodeAccelerator);
    host.DestroyWindow();
    EXPECT_FALSE(ui.PressAccelerator(1101));
}

TEST_F(HeadlessUiTest, SystemMenuEditsAreVisitedByPosition) {
    ProbeDialog dialog(102);
    HeadlessHost& host = ui.Open(dialog);
    host.SystemMenuAppend(16, "&About...");
    for (int i = 0; i < host.SystemMenuCount(); ++i) {
        if (host.SystemMenuText(i) == "&Size" || host.SystemMenuText(i) == "Ma&ximize") {
            host.SystemMenuGrey(i);
        }
    }
    int greyed = 0;
    for (const SystemMenuItem& item : host.SystemMenu()) {
        greyed += item.greyed;
    }
    EXPECT_EQ(greyed, 2);
    EXPECT_TRUE(host.SystemMenu()[host.SystemMenuCount() - 2].separator);
    EXPECT_EQ(host.SystemMenuText(host.SystemMenuCount() - 1), "&About...");
    EXPECT_EQ(host.SystemMenuText(99), "");
}

}  // namespace
}  // namespace vz
