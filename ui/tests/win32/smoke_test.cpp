// The Win32 host against the real window system: round trips through every kind of control,
// timers, nested and modeless dialogs, pumps, accelerators, and the shell seam beside them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "platform/win32/shell_win32.h"
#include "ui/codes.h"
#include "ui/tests/win32/smoke_resource.h"
#include "ui/win32/win32_dialog_host.h"
#include "ui/win32/win32_ui.h"

namespace vz {
namespace {

class SmokeDialog : public Dialog {
  public:
    explicit SmokeDialog(int templateId = IDD_SMOKE) : Dialog(templateId) {}

    std::function<void(Win32DialogHost&)> onInit;
    std::function<void(Win32DialogHost&, uint32_t)> onTimer;
    std::function<void(Win32DialogHost&, int, int)> onCommand;
    std::function<bool(Win32DialogHost&, uint32_t)> onUser;

    bool OnInitDialog() override {
        if (onInit) {
            onInit(Win());
        }
        return true;
    }
    void OnTimer(uint32_t id) override {
        if (onTimer) {
            onTimer(Win(), id);
        }
    }
    void OnCommand(int id, int code) override {
        if (onCommand) {
            onCommand(Win(), id, code);
        } else {
            Dialog::OnCommand(id, code);
        }
    }
    bool OnUser(uint32_t message, uintptr_t, intptr_t) override {
        return onUser && onUser(Win(), message);
    }

  private:
    Win32DialogHost& Win() { return *static_cast<Win32DialogHost*>(Host()); }
};

class Win32HostTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        InitWin32Ui(GetModuleHandleA(nullptr));
        InitCommonControlClasses();
    }
};

bool HasStyle(HWND window, LONG style) {
    return (GetWindowLongA(window, GWL_STYLE) & style) != 0;
}

TEST_F(Win32HostTest, ControlsRoundTripThroughTheHost) {
    SmokeDialog dialog;
    dialog.onInit = [](Win32DialogHost& host) {
        HWND w = host.Handle();
        const std::string longText(300, 'x');
        host.SetItemText(IDC_SMOKE_EDIT, longText);
        EXPECT_EQ(host.GetItemText(IDC_SMOKE_EDIT), longText);
        EXPECT_EQ(host.GetItemText(IDC_SMOKE_TEXT), "start");
        EXPECT_EQ(host.GetItemText(4242), "");  // no such control

        host.EnableItem(IDC_SMOKE_CHECK, false);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, IDC_SMOKE_CHECK)));
        host.ShowItem(IDC_SMOKE_TEXT, false);
        EXPECT_FALSE(HasStyle(GetDlgItem(w, IDC_SMOKE_TEXT), WS_VISIBLE));

        host.SetCheck(IDC_SMOKE_CHECK, true);
        EXPECT_TRUE(host.IsChecked(IDC_SMOKE_CHECK));
        host.CheckRadio(IDC_SMOKE_RADIO1, IDC_SMOKE_RADIO2, IDC_SMOKE_RADIO2);
        EXPECT_FALSE(host.IsChecked(IDC_SMOKE_RADIO1));
        EXPECT_TRUE(host.IsChecked(IDC_SMOKE_RADIO2));

        host.SetEditLimit(IDC_SMOKE_EDIT, 11);
        EXPECT_EQ(SendDlgItemMessageA(w, IDC_SMOKE_EDIT, EM_GETLIMITTEXT, 0, 0), 11);

        for (const char* text : {"Slow", "Normal", "Fast"}) {
            host.ComboAdd(IDC_SMOKE_COMBO, text);
        }
        EXPECT_EQ(host.ComboCount(IDC_SMOKE_COMBO), 3);
        EXPECT_TRUE(host.ComboSelectText(IDC_SMOKE_COMBO, "Normal"));
        EXPECT_FALSE(host.ComboSelectText(IDC_SMOKE_COMBO, "fast"));
        EXPECT_EQ(host.ComboSelectedIndex(IDC_SMOKE_COMBO), 1);
        EXPECT_EQ(host.ComboSelectedText(IDC_SMOKE_COMBO), "Normal");
        EXPECT_EQ(host.GetItemText(IDC_SMOKE_COMBO), "Normal");
        host.ComboSelect(IDC_SMOKE_COMBO, 7);
        EXPECT_EQ(host.ComboSelectedIndex(IDC_SMOKE_COMBO), -1);
        host.ComboReset(IDC_SMOKE_COMBO);
        EXPECT_EQ(host.ComboCount(IDC_SMOKE_COMBO), 0);

        for (int i = 0; i < 12; ++i) {
            host.ListBoxAdd(IDC_SMOKE_LIST, "line " + std::to_string(i));
        }
        EXPECT_TRUE(host.ListBoxSelectText(IDC_SMOKE_LIST, "line 10"));
        EXPECT_EQ(host.ListBoxSelectedText(IDC_SMOKE_LIST), "line 10");
        host.ListBoxSetTopIndex(IDC_SMOKE_LIST, 0);
        EXPECT_EQ(SendDlgItemMessageA(w, IDC_SMOKE_LIST, LB_GETTOPINDEX, 0, 0), 0);

        host.ListViewAddColumn(IDC_SMOKE_LISTVIEW, 0, "Address", 96);
        host.ListViewAddColumn(IDC_SMOKE_LISTVIEW, 1, "Domain", 48);
        EXPECT_EQ(host.ListViewInsertRow(IDC_SMOKE_LISTVIEW, 0, "00a0f8000001", 0x51), 0);
        EXPECT_EQ(host.ListViewInsertRow(IDC_SMOKE_LISTVIEW, 1, "00a0f8000002", 0x52), 1);
        host.ListViewSetText(IDC_SMOKE_LISTVIEW, 1, 1, "15");
        EXPECT_EQ(host.ListViewRowData(IDC_SMOKE_LISTVIEW, 1), 0x52);
        EXPECT_EQ(host.ListViewSelectedRow(IDC_SMOKE_LISTVIEW), -1);
        LVITEMA select{};
        select.stateMask = LVIS_SELECTED;
        select.state = LVIS_SELECTED;
        SendDlgItemMessageA(w, IDC_SMOKE_LISTVIEW, LVM_SETITEMSTATE, 1,
                            reinterpret_cast<LPARAM>(&select));
        EXPECT_EQ(host.ListViewSelectedRow(IDC_SMOKE_LISTVIEW), 1);
        host.ListViewClearSelection(IDC_SMOKE_LISTVIEW);
        EXPECT_EQ(host.ListViewSelectedRow(IDC_SMOKE_LISTVIEW), -1);

        host.ProgressSetRange(IDC_SMOKE_PROGRESS, 0, 100);
        host.ProgressSetPos(IDC_SMOKE_PROGRESS, 70);
        EXPECT_EQ(SendDlgItemMessageA(w, IDC_SMOKE_PROGRESS, PBM_GETPOS, 0, 0), 70);
        host.TrackBarSetRange(IDC_SMOKE_TRACKBAR, 60, 1500);
        host.TrackBarSetTick(IDC_SMOKE_TRACKBAR, 70);
        host.TrackBarSetPos(IDC_SMOKE_TRACKBAR, 4000);
        EXPECT_EQ(host.TrackBarGetPos(IDC_SMOKE_TRACKBAR), 1500);
        host.ScrollBarSetRange(IDC_SMOKE_SCROLLBAR, 1, 9);
        host.ScrollBarSetPos(IDC_SMOKE_SCROLLBAR, 12);
        EXPECT_EQ(host.ScrollBarGetPos(IDC_SMOKE_SCROLLBAR), 9);

        host.SetCaption("Renamed");
        char caption[32] = {};
        GetWindowTextA(w, caption, sizeof caption);
        EXPECT_STREQ(caption, "Renamed");

        int items = host.SystemMenuCount();
        host.SystemMenuAppend(16, "&About...");
        EXPECT_EQ(host.SystemMenuCount(), items + 2);
        EXPECT_EQ(host.SystemMenuText(items + 1), "&About...");
        host.SystemMenuGrey(items + 1);
        EXPECT_TRUE(GetMenuState(GetSystemMenu(w, FALSE), items + 1, MF_BYPOSITION) & MF_GRAYED);
        EXPECT_EQ(host.SystemMenuText(items + 5), "");

        host.SetIcon(IDI_SMOKE);
        EXPECT_NE(SendMessageA(w, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageA(w, WM_GETICON, ICON_SMALL, 0), 0);

        std::unique_ptr<Canvas> canvas = host.OpenCanvas(IDC_SMOKE_GRAPH);
        ASSERT_NE(canvas, nullptr);
        Rect client = canvas->ClientRect();
        EXPECT_GT(client.right, 0);
        canvas->FillRect({5, 20, 1, 10}, {0, 0, 128});
        canvas->Rectangle({5, 10, 9, 20}, {192, 192, 192});
        canvas->Line(0, 0, 5, 5, {0, 255, 0});
        EXPECT_EQ(host.OpenCanvas(4242), nullptr);

        EXPECT_FALSE(host.SetButtonBitmaps(IDC_SMOKE_PICTURE, "SMOKEUP", "NOSUCHBITMAP"));
        EXPECT_NE(GetWindowLongA(GetDlgItem(w, IDC_SMOKE_PICTURE), GWL_STYLE) & BS_TYPEMASK,
                  BS_OWNERDRAW);
        EXPECT_TRUE(host.SetButtonBitmaps(IDC_SMOKE_PICTURE, "SMOKEUP", "SMOKEDOWN"));
        EXPECT_EQ(GetWindowLongA(GetDlgItem(w, IDC_SMOKE_PICTURE), GWL_STYLE) & BS_TYPEMASK,
                  BS_OWNERDRAW);
        RECT picture{};
        GetWindowRect(GetDlgItem(w, IDC_SMOKE_PICTURE), &picture);
        EXPECT_EQ(picture.right - picture.left, 26);
        EXPECT_EQ(picture.bottom - picture.top, 24);

        EXPECT_EQ(host.SetTimer(1, 100), 1u);
        host.KillTimer(1);
        host.EndDialog(kIdOk);
    };
    EXPECT_EQ(RunMainDialog(dialog), kIdOk);
    EXPECT_EQ(dialog.Host(), nullptr);
}

// The spectrum view draws into its graph box while the dialog paints; the box's own repaint,
// which follows, must not wipe what was drawn.
TEST_F(Win32HostTest, DrawingOnAControlInThePaintSurvivesItsRepaint) {
    struct GraphDialog : SmokeDialog {
        COLORREF seen = CLR_INVALID;
        void OnPaint() override {
            std::unique_ptr<Canvas> canvas = Host()->OpenCanvas(IDC_SMOKE_GRAPH);
            canvas->FillRect({20, 20, 30, 30}, {0, 0, 128});
        }
    } dialog;
    dialog.onInit = [](Win32DialogHost& host) {
        host.Invalidate(IDC_SMOKE_GRAPH, true);
        host.Invalidate(0, false);
        host.SetTimer(1, 300);
    };
    dialog.onTimer = [&](Win32DialogHost& host, uint32_t) {
        host.KillTimer(1);
        HWND graph = GetDlgItem(host.Handle(), IDC_SMOKE_GRAPH);
        HDC dc = GetDC(graph);
        dialog.seen = GetPixel(dc, 25, 25);
        ReleaseDC(graph, dc);
        host.EndDialog(kIdOk);
    };
    EXPECT_EQ(RunMainDialog(dialog), kIdOk);
    EXPECT_EQ(dialog.seen, RGB(0, 0, 128));
}

TEST_F(Win32HostTest, TimerRunsANestedModalAndEndsTheRun) {
    SmokeDialog dialog;
    dialog.onInit = [](Win32DialogHost& host) { host.SetTimer(1, 10); };
    int childCode = 0;
    dialog.onTimer = [&](Win32DialogHost& host, uint32_t id) {
        host.KillTimer(id);
        SmokeDialog child(IDD_SMOKE_CHILD);
        child.onInit = [](Win32DialogHost& c) { c.EndDialog(7); };
        childCode = host.RunModal(child);
        host.EndDialog(35 + childCode);
    };
    EXPECT_EQ(RunMainDialog(dialog), 42);
    EXPECT_EQ(childCode, 7);
}

TEST_F(Win32HostTest, CloseTakesTheCancelPathAndMissingTemplatesFail) {
    SmokeDialog dialog;
    dialog.onInit = [](Win32DialogHost& host) { PostMessageA(host.Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(RunMainDialog(dialog), kIdCancel);

    SmokeDialog missing(4321);
    EXPECT_EQ(RunMainDialog(missing), -1);
    EXPECT_EQ(missing.Host(), nullptr);
}

TEST_F(Win32HostTest, WorkerThreadPostsBackToTheWindow) {
    Win32Shell shell;
    std::atomic<bool> worked{false};
    SmokeDialog dialog;
    dialog.onInit = [&](Win32DialogHost& host) {
        EXPECT_TRUE(shell.StartWorker(
            kThreadPriorityHighest, [&] { worked = true; }, host.Window(), kWmUser + 10));
    };
    dialog.onUser = [](Win32DialogHost& host, uint32_t message) {
        if (message != kWmUser + 10) {
            return false;
        }
        host.EndDialog(5);
        return true;
    };
    EXPECT_EQ(RunMainDialog(dialog), 5);
    EXPECT_TRUE(worked);
}

TEST_F(Win32HostTest, PumpsDispatchMouseAndLeaveKeysQueued) {
    struct Listener : PumpListener {
        int before = 0;
        int after = 0;
        void BeforeDispatch(Kind) override { ++before; }
        void AfterDispatch(Kind) override { ++after; }
    };
    SmokeDialog dialog;
    dialog.onInit = [](Win32DialogHost& host) {
        HWND w = host.Handle();
        PostMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_TRUE(host.PumpMouseMessage());
        EXPECT_FALSE(host.PumpMouseMessage());

        Listener listener;
        PostMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        PostMessageA(w, WM_KEYDOWN, VK_F1, 0);
        EXPECT_EQ(host.PumpDwellMessages(listener), kVkF1);
        EXPECT_EQ(host.PumpDwellMessages(listener), kVkF1);
        EXPECT_EQ(listener.before, listener.after);
        EXPECT_GE(listener.before, 1);
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, w, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
        host.EndDialog(kIdOk);
    };
    EXPECT_EQ(RunMainDialog(dialog), kIdOk);
}

TEST_F(Win32HostTest, AcceleratorReachesTheTargetAsItsOwnCode) {
    SmokeDialog dialog;
    int code = 0;
    dialog.onInit = [](Win32DialogHost& host) {
        host.MakeAcceleratorTarget();
        // Alt+T, as the keyboard would deliver it, with Alt held in the key state.
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_MENU] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(host.Handle(), WM_SYSKEYDOWN, 'T', 1 | (1 << 29));
    };
    dialog.onCommand = [&](Win32DialogHost& host, int id, int c) {
        if (id == IDC_SMOKE_ACCEL) {
            code = c;
            host.EndDialog(kIdOk);
        }
    };
    dialog.onTimer = [](Win32DialogHost& host, uint32_t) { host.EndDialog(kIdCancel); };
    dialog.onInit = [prev = dialog.onInit](Win32DialogHost& host) {
        prev(host);
        host.SetTimer(9, 3000);  // gives up should the key never arrive
    };
    EXPECT_EQ(RunMainDialog(dialog, IDR_SMOKE_KEYS), kIdOk);
    EXPECT_EQ(code, kCodeAccelerator);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = 0;
    SetKeyboardState(keys);
}

TEST_F(Win32HostTest, ShellFindsHiddenWindowsAndModelessOnesGoWithTheirObject) {
    Win32Shell shell;
    SmokeDialog dialog;
    dialog.onInit = [&](Win32DialogHost& host) {
        // Not shown yet while it initialises: found all the same.
        EXPECT_EQ(shell.FindTopLevelWindow("Vezurez Host Smoke Probe"), host.Window());
        EXPECT_EQ(shell.FindTopLevelWindow("vezurez host smoke probe"), 0u);
        EXPECT_FALSE(shell.IsMinimised(host.Window()));
        HWND childWindow = nullptr;
        {
            SmokeDialog status(IDD_SMOKE_CHILD);
            EXPECT_TRUE(host.OpenModeless(status));
            WindowRef found = shell.FindTopLevelWindow("Vezurez Host Smoke Child");
            ASSERT_NE(found, 0u);
            childWindow = reinterpret_cast<HWND>(found);
            EXPECT_TRUE(IsWindowVisible(childWindow));
        }
        EXPECT_FALSE(IsWindow(childWindow));
        host.EndDialog(kIdOk);
    };
    EXPECT_EQ(RunMainDialog(dialog), kIdOk);
}

TEST_F(Win32HostTest, ShellPassesFilesEnvironmentAndTrayCallsThrough) {
    Win32Shell shell;
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof module);
    EXPECT_TRUE(shell.FileExists(module));
    std::string directory = shell.CurrentDirectory();
    EXPECT_FALSE(directory.empty());
    EXPECT_FALSE(shell.FileExists(directory));  // a directory is not a file
    EXPECT_FALSE(shell.EnvironmentVariable("PATH").empty());
    EXPECT_EQ(shell.EnvironmentVariable("VZ_SURELY_NOT_SET_ANYWHERE"), "");
    EXPECT_NE(shell.RegisterTaskbarCreatedMessage(), 0u);
    EXPECT_FALSE(shell.StartProcess("C:\\no\\such\\program.exe", "program two"));

    // Whether a tray exists depends on the desktop; a tip far beyond the field must be safe.
    SmokeDialog dialog;
    dialog.onInit = [&](Win32DialogHost& host) {
        TrayEntry entry{host.Window(), 130,       kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip,
                        1124,          IDI_SMOKE, std::string(500, 'T')};
        if (shell.TrayAdd(entry)) {
            EXPECT_TRUE(shell.TrayModify(entry));
            EXPECT_TRUE(shell.TrayDelete({host.Window(), 130, 0, 0, 0, ""}));
        }
        shell.QuitHelpEngine(host.Window());
        host.EndDialog(kIdOk);
    };
    EXPECT_EQ(RunMainDialog(dialog), kIdOk);
}

}  // namespace
}  // namespace vz
