// One window of the headless host: the state a dialog sets, what a test reads and what it does.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/codes.h"
#include "ui/dialog.h"
#include "ui/dialog_host.h"
#include "ui/headless/canvas_image.h"
#include "ui/headless/control_state.h"

namespace vz {

class HeadlessUi;

struct SystemMenuItem {
    uint32_t commandId = 0;
    std::string text;
    bool separator = false;
    bool greyed = false;
};

class HeadlessHost : public DialogHost {
  public:
    enum class Role { kMain, kModal, kModeless };

    HeadlessHost(HeadlessUi& ui, Dialog& dialog, Role role, HeadlessHost* owner, WindowRef ref,
                 const TemplateSpec* spec);

    // --- DialogHost
    WindowRef Window() override { return ref_; }
    void SetItemText(int id, std::string_view text) override;
    std::string GetItemText(int id) override;
    void EnableItem(int id, bool enable) override;
    void ShowItem(int id, bool show) override;
    void SetFocus(int id) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) override;
    void CheckRadio(int firstId, int lastId, int checkedId) override;
    void SetEditLimit(int id, int maxChars) override;
    bool SetButtonBitmaps(int id, std::string_view up, std::string_view down) override;
    void ComboReset(int id) override;
    int ComboAdd(int id, std::string_view text) override;
    int ComboCount(int id) override;
    void ComboSelect(int id, int index) override;
    bool ComboSelectText(int id, std::string_view text) override;
    int ComboSelectedIndex(int id) override;
    std::string ComboSelectedText(int id) override;
    void ListBoxReset(int id) override;
    int ListBoxAdd(int id, std::string_view text) override;
    int ListBoxCount(int id) override;
    void ListBoxSelect(int id, int index) override;
    bool ListBoxSelectText(int id, std::string_view text) override;
    int ListBoxSelectedIndex(int id) override;
    std::string ListBoxSelectedText(int id) override;
    void ListBoxSetTopIndex(int id, int index) override;
    void ListViewAddColumn(int id, int column, std::string_view heading, int widthPixels) override;
    int ListViewInsertRow(int id, int row, std::string_view text, intptr_t data) override;
    void ListViewSetText(int id, int row, int column, std::string_view text) override;
    intptr_t ListViewRowData(int id, int row) override;
    int ListViewSelectedRow(int id) override;
    void ListViewClearSelection(int id) override;
    void ProgressSetRange(int id, int low, int high) override;
    void ProgressSetPos(int id, int pos) override;
    void TrackBarSetRange(int id, int low, int high) override;
    void TrackBarSetTick(int id, int pos) override;
    void TrackBarSetPos(int id, int pos) override;
    int TrackBarGetPos(int id) override;
    void ScrollBarSetRange(int id, int low, int high) override;
    void ScrollBarSetPos(int id, int pos) override;
    int ScrollBarGetPos(int id) override;
    void SetCaption(std::string_view text) override;
    void Show(bool visible) override;
    void BringToForeground() override;
    bool IsMinimised() override { return minimised_; }
    void SetIcon(int iconResourceId) override { icon_ = iconResourceId; }
    int IconWidth() override { return 32; }
    int IconHeight() override { return 32; }
    void Invalidate(int id, bool erase) override;
    std::unique_ptr<Canvas> OpenCanvas(int id) override;
    void SystemMenuAppend(uint32_t commandId, std::string_view text) override;
    int SystemMenuCount() override { return static_cast<int>(systemMenu_.size()); }
    std::string SystemMenuText(int position) override;
    void SystemMenuGrey(int position) override;
    uint32_t SetTimer(uint32_t id, uint32_t periodMs) override;
    void KillTimer(uint32_t id) override;
    void CaptureWithWaitCursor() override;
    void ReleaseWithArrowCursor() override;
    int RunModal(Dialog& child) override;
    bool OpenModeless(Dialog& child) override;
    void EndDialog(int code) override;
    void DestroyWindow() override;
    void MakeAcceleratorTarget() override;
    bool PumpMouseMessage() override;
    int PumpDwellMessages(PumpListener& listener) override;

    // --- What the user would see
    int TemplateId() const { return templateId_; }
    Role GetRole() const { return role_; }
    HeadlessHost* Owner() const { return owner_; }
    Dialog* GetDialog() const { return dialog_; }  // null once destroyed
    bool IsOpen() const { return created_ && !destroyed_; }
    bool Ended() const { return ended_; }
    int EndCode() const { return endCode_; }
    // False while a modal dialog it owns is running (the user cannot reach it).
    bool IsWindowEnabled() const { return modalChildren_ == 0; }
    bool IsWindowVisible() const { return visible_; }
    const std::string& Caption() const { return caption_; }
    int Icon() const { return icon_; }
    int Focus() const { return focus_; }
    bool IsEnabled(int id) { return Control(id).enabled; }
    bool IsVisible(int id) { return Control(id).visible; }
    // The control's whole state; touching an id the declared template lacks throws.
    ControlState& Control(int id);
    // Timer id -> period as last set, for the timers running now.
    std::map<uint32_t, uint32_t> Timers() const;
    bool HasTimer(uint32_t id) const { return timers_.count(id) != 0; }
    const std::vector<SystemMenuItem>& SystemMenu() const { return systemMenu_; }
    bool PaintPending() const { return paintPending_; }
    Image RenderCanvas(int id, Rgb background = {255, 255, 255});
    bool WriteCanvasPpm(int id, const std::string& path, Rgb background = {255, 255, 255});

    // --- What the user does. Each returns false, doing nothing, when the user could not do it
    // (control disabled or hidden, window disabled by a modal dialog or gone); then pending
    // posted messages and paints are delivered, as the message loop would.
    bool Click(int id);  // auto check boxes toggle, auto radio buttons take the group's check
    bool Select(int id, int index);  // combo or list box item picked
    bool SelectText(int id, std::string_view text);
    bool Type(int id, std::string_view text);  // replaces an edit's text, within its limit
    bool ClickRow(int id, int row);            // list view; -1 clicks the empty space
    bool DoubleClickRow(int id, int row);
    bool TabTo(int id);  // focus moved to the control by the keyboard
    bool MoveTrackBar(int id, int pos);
    bool PressEscape();
    bool PressCloseBox();
    bool RightDoubleClick(int x, int y);
    void SetMinimised(bool minimised) { minimised_ = minimised; }
    void SetClientSize(int id, int width, int height);

    // --- Raw messages, delivered whatever the state of the controls.
    void FireCommand(int id, int code = kBnClicked);
    void FireTimer(uint32_t id);
    void FireNotify(int id, int code);
    void FireVScroll(int id, int request, int pos = 0);
    void FireHScroll(int id, int request, int pos = 0);
    void FirePaint();
    // Returns whether the dialog handled it; the system's defaults follow otherwise.
    bool FireSysCommand(uint32_t id);
    void FireClose();
    bool FireUser(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void FireRButtonDblClk(int x, int y);

    // --- Input waiting in the queue, for the pumps of long waits.
    // `effect` runs when a pump dispatches the mouse message (a click it stands for, say).
    void QueueMouse(std::function<void()> effect);
    void QueueKeyDown(int virtualKey) { keys_.push_back(virtualKey); }
    const std::deque<int>& QueuedKeys() const { return keys_; }
    size_t QueuedMouse() const { return mouse_.size(); }

  private:
    friend class HeadlessUi;
    struct TimerState {
        uint32_t period = 0;
        uint64_t due = 0;
        uint64_t order = 0;
    };

    void Create();
    void Destroy();
    ControlState* Find(int id);
    ControlState& Typed(int id, ControlKind kind);
    bool UserCanReach(int id);
    void Log(const std::string& event);
    // Hands a message to the dialog while its window is open, logging it first.
    template <typename Handler>
    void Deliver(const std::string& event, Handler&& handler) {
        if (created_ && !destroyed_ && dialog_ != nullptr) {
            Log(event);
            handler(*dialog_);
        }
    }
    void AfterUserAction();
    // Removes the first mouse message of this window's queue and runs its effect.
    bool DispatchQueuedMouse();

    HeadlessUi& ui_;
    Dialog* dialog_;
    const int templateId_;
    const Role role_;
    HeadlessHost* owner_;
    const WindowRef ref_;
    const bool strict_;
    std::map<int, ControlState> controls_;
    std::string caption_;
    std::vector<SystemMenuItem> systemMenu_;
    std::map<uint32_t, TimerState> timers_;
    std::deque<std::function<void()>> mouse_;
    std::deque<int> keys_;
    int focus_ = 0;
    int icon_ = 0;
    int modalChildren_ = 0;
    int endCode_ = 0;
    bool created_ = false;
    bool destroyed_ = false;
    bool destroying_ = false;
    bool ended_ = false;
    bool visible_ = true;
    bool minimised_ = false;
    bool paintPending_ = false;
};

}  // namespace vz
