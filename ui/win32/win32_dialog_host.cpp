// The Win32 dialog host. Messages reach the Dialog through one dialog procedure; the host lives in
// the window's user data from WM_INITDIALOG to WM_NCDESTROY.
#include "ui/win32/win32_dialog_host.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "ui/codes.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_ui.h"

namespace vz {
namespace {

std::string Terminated(std::string_view text) {
    return std::string(text);
}

}  // namespace

Win32DialogHost::~Win32DialogHost() {
    if (bigIcon_ != nullptr) {
        DestroyIcon(bigIcon_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
    for (const auto& [id, bitmaps] : pictures_) {
        DeleteObject(bitmaps.first);
        DeleteObject(bitmaps.second);
    }
}

// --- The thunk

INT_PTR CALLBACK Win32DialogHost::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* host = reinterpret_cast<Win32DialogHost*>(lParam);
        host->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
        DialogBinding::Attach(*host->dialog_, host);
        return host->dialog_->OnInitDialog() ? TRUE : FALSE;
    }
    auto* host = reinterpret_cast<Win32DialogHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host == nullptr || host->dialog_ == nullptr) {
        return FALSE;
    }
    Dialog& dialog = *host->dialog_;
    switch (message) {
        case WM_COMMAND: {
            int code = HIWORD(wParam);
            // An accelerator's command comes from no control; keep it apart from the
            // combo box's selection change, which carries the same number.
            if (code == 1 && lParam == 0) {
                code = kCodeAccelerator;
            }
            dialog.OnCommand(LOWORD(wParam), code);
            return TRUE;
        }
        case WM_TIMER:
            dialog.OnTimer(static_cast<uint32_t>(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            dialog.OnNotify(static_cast<int>(header->idFrom), static_cast<int>(header->code));
            return FALSE;
        }
        case WM_VSCROLL:
        case WM_HSCROLL: {
            int id = lParam != 0 ? GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) : 0;
            int request = LOWORD(wParam);
            int pos = HIWORD(wParam);
            if (message == WM_VSCROLL) {
                dialog.OnVScroll(id, request, pos);
            } else {
                dialog.OnHScroll(id, request, pos);
            }
            return TRUE;
        }
        case WM_PAINT: {
            // The dialog surface paints nothing of its own beyond its background, so the
            // handler draws between BeginPaint and EndPaint and the region is then valid.
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            dialog.OnPaint();
            EndPaint(window, &paint);
            return TRUE;
        }
        case WM_SYSCOMMAND:
            return dialog.OnSysCommand(static_cast<uint32_t>(wParam)) ? TRUE : FALSE;
        case WM_CLOSE:
            dialog.OnClose();
            return TRUE;
        case WM_RBUTTONDBLCLK:
            dialog.OnRButtonDblClk(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return FALSE;
        case WM_DRAWITEM:
            return host->DrawPictureButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(host->bigIcon_);
        case WM_DESTROY:
            dialog.OnDestroy();
            return FALSE;
        case WM_NCDESTROY:
            host->Detach();
            if (host->kind_ == Kind::kModeless) {
                if (host->deletedFlag_ != nullptr) {
                    *host->deletedFlag_ = true;
                }
                delete host;
            }
            return FALSE;
        default:
            if (message >= WM_USER && dialog.OnUser(message, wParam, lParam)) {
                SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
                return TRUE;
            }
            return FALSE;
    }
}

void Win32DialogHost::Detach() {
    ForgetAcceleratorTarget(window_);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    if (dialog_ != nullptr) {
        DialogBinding::Attach(*dialog_, nullptr);
        dialog_ = nullptr;
    }
    window_ = nullptr;
}

// --- Controls

LRESULT Win32DialogHost::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND item = Item(id);
    return item != nullptr ? SendMessageA(item, message, wParam, lParam) : -1;
}

void Win32DialogHost::SetItemText(int id, std::string_view text) {
    SetDlgItemTextA(window_, id, Terminated(text).c_str());
}

std::string Win32DialogHost::GetItemText(int id) {
    HWND item = Item(id);
    if (item == nullptr) {
        return std::string();
    }
    int length = GetWindowTextLengthA(item);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
    return text;
}

void Win32DialogHost::EnableItem(int id, bool enable) {
    if (HWND item = Item(id)) {
        EnableWindow(item, enable);
    }
}

void Win32DialogHost::ShowItem(int id, bool show) {
    if (HWND item = Item(id)) {
        ShowWindow(item, show ? SW_SHOW : SW_HIDE);
    }
}

void Win32DialogHost::SetFocus(int id) {
    // Through the dialog manager, so the default button follows the focus.
    if (HWND item = Item(id)) {
        SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
    }
}

void Win32DialogHost::SetCheck(int id, bool checked) {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32DialogHost::IsChecked(int id) {
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32DialogHost::CheckRadio(int firstId, int lastId, int checkedId) {
    CheckRadioButton(window_, firstId, lastId, checkedId);
}

void Win32DialogHost::SetEditLimit(int id, int maxChars) {
    Send(id, EM_LIMITTEXT, static_cast<WPARAM>(std::max(maxChars, 0)), 0);
}

bool Win32DialogHost::SetButtonBitmaps(int id, std::string_view up, std::string_view down) {
    HWND button = Item(id);
    if (button == nullptr) {
        return false;
    }
    HBITMAP upBitmap = LoadBitmapA(UiInstance(), Terminated(up).c_str());
    HBITMAP downBitmap = LoadBitmapA(UiInstance(), Terminated(down).c_str());
    if (upBitmap == nullptr || downBitmap == nullptr) {
        if (upBitmap != nullptr) {
            DeleteObject(upBitmap);
        }
        if (downBitmap != nullptr) {
            DeleteObject(downBitmap);
        }
        return false;
    }
    auto old = pictures_.find(id);
    if (old != pictures_.end()) {
        DeleteObject(old->second.first);
        DeleteObject(old->second.second);
    }
    pictures_[id] = {upBitmap, downBitmap};
    // Drawn by this host from now on (WM_DRAWITEM), at the size of its picture.
    SendMessageA(button, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    BITMAP info{};
    GetObjectA(upBitmap, sizeof info, &info);
    SetWindowPos(button, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

bool Win32DialogHost::DrawPictureButton(const DRAWITEMSTRUCT& item) const {
    auto it = pictures_.find(static_cast<int>(item.CtlID));
    if (item.CtlType != ODT_BUTTON || it == pictures_.end()) {
        return false;
    }
    HBITMAP picture = (item.itemState & ODS_SELECTED) ? it->second.second : it->second.first;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
           item.rcItem.bottom - item.rcItem.top, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return true;
}

std::string Win32DialogHost::ItemString(int id, UINT lengthMessage, UINT textMessage,
                                        int index) const {
    LRESULT length = Send(id, lengthMessage, index, 0);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Send(id, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

int Win32DialogHost::FindExact(int id, UINT countMessage, UINT lengthMessage, UINT textMessage,
                               std::string_view text) const {
    // The controls' own searches ignore case; ours must not.
    LRESULT count = Send(id, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (ItemString(id, lengthMessage, textMessage, static_cast<int>(i)) == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Win32DialogHost::ComboReset(int id) {
    Send(id, CB_RESETCONTENT, 0, 0);
}

int Win32DialogHost::ComboAdd(int id, std::string_view text) {
    LRESULT index = Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Terminated(text).c_str()));
    return index >= 0 ? static_cast<int>(index) : -1;
}

int Win32DialogHost::ComboCount(int id) {
    return std::max(static_cast<int>(Send(id, CB_GETCOUNT, 0, 0)), 0);
}

// An index outside the list clears the selection, as the controls' documentation has it (not
// every implementation does so by itself).
void Win32DialogHost::ComboSelect(int id, int index) {
    bool inList = index >= 0 && index < ComboCount(id);
    Send(id, CB_SETCURSEL, inList ? index : -1, 0);
}

bool Win32DialogHost::ComboSelectText(int id, std::string_view text) {
    int index = FindExact(id, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, text);
    if (index < 0) {
        return false;
    }
    Send(id, CB_SETCURSEL, index, 0);
    return true;
}

int Win32DialogHost::ComboSelectedIndex(int id) {
    return static_cast<int>(std::max<LRESULT>(Send(id, CB_GETCURSEL, 0, 0), -1));
}

std::string Win32DialogHost::ComboSelectedText(int id) {
    int index = ComboSelectedIndex(id);
    return index < 0 ? std::string() : ItemString(id, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void Win32DialogHost::ListBoxReset(int id) {
    Send(id, LB_RESETCONTENT, 0, 0);
}

int Win32DialogHost::ListBoxAdd(int id, std::string_view text) {
    LRESULT index = Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Terminated(text).c_str()));
    return index >= 0 ? static_cast<int>(index) : -1;
}

int Win32DialogHost::ListBoxCount(int id) {
    return std::max(static_cast<int>(Send(id, LB_GETCOUNT, 0, 0)), 0);
}

void Win32DialogHost::ListBoxSelect(int id, int index) {
    bool inList = index >= 0 && index < ListBoxCount(id);
    Send(id, LB_SETCURSEL, inList ? index : -1, 0);
}

bool Win32DialogHost::ListBoxSelectText(int id, std::string_view text) {
    int index = FindExact(id, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, text);
    if (index < 0) {
        return false;
    }
    Send(id, LB_SETCURSEL, index, 0);
    return true;
}

int Win32DialogHost::ListBoxSelectedIndex(int id) {
    return static_cast<int>(std::max<LRESULT>(Send(id, LB_GETCURSEL, 0, 0), -1));
}

std::string Win32DialogHost::ListBoxSelectedText(int id) {
    int index = ListBoxSelectedIndex(id);
    return index < 0 ? std::string() : ItemString(id, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void Win32DialogHost::ListBoxSetTopIndex(int id, int index) {
    Send(id, LB_SETTOPINDEX, index, 0);
}

// --- List views

void Win32DialogHost::ListViewAddColumn(int id, int column, std::string_view heading,
                                        int widthPixels) {
    std::string text = Terminated(heading);
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = LVCFMT_LEFT;
    col.cx = widthPixels;
    col.pszText = text.data();
    col.iSubItem = column;
    Send(id, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
}

int Win32DialogHost::ListViewInsertRow(int id, int row, std::string_view text, intptr_t data) {
    std::string first = Terminated(text);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = first.data();
    item.lParam = data;
    LRESULT index = Send(id, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return index >= 0 ? static_cast<int>(index) : -1;
}

void Win32DialogHost::ListViewSetText(int id, int row, int column, std::string_view text) {
    std::string value = Terminated(text);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = value.data();
    Send(id, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

intptr_t Win32DialogHost::ListViewRowData(int id, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (Send(id, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) <= 0) {
        return 0;
    }
    return item.lParam;
}

int Win32DialogHost::ListViewSelectedRow(int id) {
    LRESULT row = Send(id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    return row >= 0 ? static_cast<int>(row) : -1;
}

void Win32DialogHost::ListViewClearSelection(int id) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    Send(id, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

// --- Ranges and positions

void Win32DialogHost::ProgressSetRange(int id, int low, int high) {
    Send(id, PBM_SETRANGE32, low, high);
}

void Win32DialogHost::ProgressSetPos(int id, int pos) {
    Send(id, PBM_SETPOS, pos, 0);
}

void Win32DialogHost::TrackBarSetRange(int id, int low, int high) {
    Send(id, TBM_SETRANGEMIN, FALSE, low);
    Send(id, TBM_SETRANGEMAX, TRUE, high);
}

void Win32DialogHost::TrackBarSetTick(int id, int pos) {
    Send(id, TBM_SETTIC, 0, pos);
}

void Win32DialogHost::TrackBarSetPos(int id, int pos) {
    Send(id, TBM_SETPOS, TRUE, pos);
}

int Win32DialogHost::TrackBarGetPos(int id) {
    HWND item = Item(id);
    return item != nullptr ? static_cast<int>(SendMessageA(item, TBM_GETPOS, 0, 0)) : 0;
}

void Win32DialogHost::ScrollBarSetRange(int id, int low, int high) {
    if (HWND item = Item(id)) {
        SetScrollRange(item, SB_CTL, low, high, TRUE);
    }
}

void Win32DialogHost::ScrollBarSetPos(int id, int pos) {
    if (HWND item = Item(id)) {
        SetScrollPos(item, SB_CTL, pos, TRUE);
    }
}

int Win32DialogHost::ScrollBarGetPos(int id) {
    HWND item = Item(id);
    return item != nullptr ? GetScrollPos(item, SB_CTL) : 0;
}

// --- The window

void Win32DialogHost::SetCaption(std::string_view text) {
    SetWindowTextA(window_, Terminated(text).c_str());
}

void Win32DialogHost::Show(bool visible) {
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void Win32DialogHost::BringToForeground() {
    SetForegroundWindow(window_);
}

bool Win32DialogHost::IsMinimised() {
    return IsIconic(window_) != FALSE;
}

void Win32DialogHost::SetIcon(int iconResourceId) {
    // Own copies at each size, so they can be released with the window.
    auto load = [&](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageA(UiInstance(), MAKEINTRESOURCEA(iconResourceId),
                                             IMAGE_ICON, GetSystemMetrics(widthMetric),
                                             GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
    };
    HICON big = load(SM_CXICON, SM_CYICON);
    HICON small = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (bigIcon_ != nullptr) {
        DestroyIcon(bigIcon_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
    bigIcon_ = big;
    smallIcon_ = small;
}

int Win32DialogHost::IconWidth() {
    return GetSystemMetrics(SM_CXICON);
}

int Win32DialogHost::IconHeight() {
    return GetSystemMetrics(SM_CYICON);
}

void Win32DialogHost::Invalidate(int id, bool erase) {
    HWND target = id == 0 ? window_ : Item(id);
    if (target != nullptr) {
        InvalidateRect(target, nullptr, erase);
    }
}

std::unique_ptr<Canvas> Win32DialogHost::OpenCanvas(int id) {
    HWND target = id == 0 ? window_ : Item(id);
    if (target == nullptr) {
        return nullptr;
    }
    return std::make_unique<Win32Canvas>(target);
}

// --- System menu

void Win32DialogHost::SystemMenuAppend(uint32_t commandId, std::string_view text) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu != nullptr) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, commandId, Terminated(text).c_str());
    }
}

int Win32DialogHost::SystemMenuCount() {
    HMENU menu = GetSystemMenu(window_, FALSE);
    return menu != nullptr ? std::max(GetMenuItemCount(menu), 0) : 0;
}

std::string Win32DialogHost::SystemMenuText(int position) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    char text[257] = {};
    if (menu == nullptr ||
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION) <= 0) {
        return std::string();
    }
    text[sizeof text - 1] = '\0';
    return text;
}

void Win32DialogHost::SystemMenuGrey(int position) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu != nullptr) {
        EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_GRAYED);
    }
}

// --- Timers, capture

uint32_t Win32DialogHost::SetTimer(uint32_t id, uint32_t periodMs) {
    return static_cast<uint32_t>(::SetTimer(window_, id, periodMs, nullptr));
}

void Win32DialogHost::KillTimer(uint32_t id) {
    ::KillTimer(window_, id);
}

void Win32DialogHost::CaptureWithWaitCursor() {
    SetCapture(window_);
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

void Win32DialogHost::ReleaseWithArrowCursor() {
    ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

// --- Other dialogs

int Win32DialogHost::RunModal(Dialog& child) {
    if (child.Host() != nullptr) {
        return -1;
    }
    Win32DialogHost host(child, Kind::kModal);
    INT_PTR result = DialogBoxParamA(UiInstance(), MAKEINTRESOURCEA(child.TemplateId()), window_,
                                     &Win32DialogHost::DialogProc, reinterpret_cast<LPARAM>(&host));
    return static_cast<int>(result);
}

bool Win32DialogHost::OpenModeless(Dialog& child) {
    if (child.Host() != nullptr) {
        return false;
    }
    auto* host = new Win32DialogHost(child, Kind::kModeless);
    bool deleted = false;
    host->deletedFlag_ = &deleted;
    HWND window = CreateDialogParamA(UiInstance(), MAKEINTRESOURCEA(child.TemplateId()), window_,
                                     &Win32DialogHost::DialogProc, reinterpret_cast<LPARAM>(host));
    if (!deleted) {
        host->deletedFlag_ = nullptr;
    }
    if (window == nullptr) {
        if (!deleted) {
            if (host->dialog_ != nullptr && host->dialog_->Host() == host) {
                DialogBinding::Attach(*host->dialog_, nullptr);
            }
            delete host;
        }
        return false;
    }
    // Its owner may not pump messages while it shows (a wait on the driver): paint it now.
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return true;
}

void Win32DialogHost::EndDialog(int code) {
    if (kind_ == Kind::kModal) {
        ::EndDialog(window_, code);
    } else {
        ShowWindow(window_, SW_HIDE);
    }
}

void Win32DialogHost::DestroyWindow() {
    if (kind_ == Kind::kModal) {
        ::EndDialog(window_, 0);
        return;
    }
    // The host is deleted on the way (WM_NCDESTROY): nothing of it may be touched after this.
    ::DestroyWindow(window_);
}

void Win32DialogHost::MakeAcceleratorTarget() {
    SetAcceleratorTarget(window_);
}

// --- Pumps

bool Win32DialogHost::PumpMouseMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, kWmMouseFirst, kWmMouseLast, PM_REMOVE)) {
        return false;
    }
    DispatchMessageA(&msg);
    return true;
}

int Win32DialogHost::PumpDwellMessages(PumpListener& listener) {
    HWND window = window_;
    MSG msg;
    if (PeekMessageA(&msg, window, kWmMouseFirst, kWmMouseLast, PM_REMOVE)) {
        listener.BeforeDispatch(PumpListener::Kind::kMouse);
        DispatchMessageA(&msg);
        listener.AfterDispatch(PumpListener::Kind::kMouse);
    } else if (PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        listener.BeforeDispatch(PumpListener::Kind::kPaint);
        DispatchMessageA(&msg);
        listener.AfterDispatch(PumpListener::Kind::kPaint);
    }
    if (IsWindow(window) && PeekMessageA(&msg, window, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) {
        return static_cast<int>(msg.wParam);
    }
    return 0;
}

}  // namespace vz
