// The Win32 dialog host: a dialog procedure thunk that forwards each message to the Dialog object,
// and the dialog's operations as window-system calls on its window and controls.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "ui/dialog.h"
#include "ui/dialog_host.h"

namespace vz {

class Win32DialogHost : public DialogHost {
  public:
    // A modal host lives on the stack of the call that runs the dialog; a modeless one is
    // made by OpenModeless and deletes itself when its window is gone.
    enum class Kind { kModal, kModeless };

    Win32DialogHost(Dialog& dialog, Kind kind) : dialog_(&dialog), kind_(kind) {}
    ~Win32DialogHost() override;
    Win32DialogHost(const Win32DialogHost&) = delete;
    Win32DialogHost& operator=(const Win32DialogHost&) = delete;

    // Give this to DialogBoxParamA / CreateDialogParamA with the host as the parameter.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Handle() const { return window_; }

    WindowRef Window() override { return reinterpret_cast<WindowRef>(window_); }
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
    bool IsMinimised() override;
    void SetIcon(int iconResourceId) override;
    int IconWidth() override;
    int IconHeight() override;
    void Invalidate(int id, bool erase) override;
    std::unique_ptr<Canvas> OpenCanvas(int id) override;
    void SystemMenuAppend(uint32_t commandId, std::string_view text) override;
    int SystemMenuCount() override;
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

  private:
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const;
    std::string ItemString(int id, UINT lengthMessage, UINT textMessage, int index) const;
    int FindExact(int id, UINT countMessage, UINT lengthMessage, UINT textMessage,
                  std::string_view text) const;
    void Detach();
    bool DrawPictureButton(const DRAWITEMSTRUCT& item) const;

    Dialog* dialog_;
    const Kind kind_;
    HWND window_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::map<int, std::pair<HBITMAP, HBITMAP>> pictures_;  // control id -> up, down
    // Set while CreateDialogParamA runs, so that a window destroyed during its own
    // initialisation does not leave the caller with a deleted host.
    bool* deletedFlag_ = nullptr;
};

}  // namespace vz
