// The floor the monitor's idle cost is measured against: a bare program with one tray icon that
// it swaps every second, with a tip, as the monitor's blinking does. Both icons are loaded once.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "tray_floor_res.h"

namespace {

constexpr UINT kTrayId = 1;
constexpr UINT kSwapTimer = 1;
constexpr UINT kSwapMs = 1000;
constexpr UINT kTrayMessage = WM_USER + 100;
constexpr char kTip[] = "Tray floor";

HICON icons[2] = {};
int shown = 0;

bool Notify(HWND window, DWORD action) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = kTrayId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icons[shown];
    std::memcpy(data.szTip, kTip, sizeof kTip);
    return Shell_NotifyIconA(action, &data) != FALSE;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            shown = 1 - shown;
            Notify(window, NIM_MODIFY);
            return 0;
        case WM_DESTROY:
            Notify(window, NIM_DELETE);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (int k = 0; k < 2; ++k) {
        icons[k] = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FLOOR_LIT + k),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TrayFloor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TrayFloor", "Tray Floor", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    Notify(window, NIM_ADD);
    SetTimer(window, kSwapTimer, kSwapMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
