// The program-wide part of the Win32 host: resources, the main dialog's run and the accelerator
// filter that dialog boxes' own loops consult.
#include "ui/win32/win32_ui.h"

#include "ui/win32/win32_dialog_host.h"

namespace vz {
namespace {

// One user-interface thread: these belong to it.
HINSTANCE gInstance = nullptr;
HACCEL gAccelerators = nullptr;
HWND accelTarget = nullptr;

LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && gAccelerators != nullptr && accelTarget != nullptr && IsWindow(accelTarget) &&
        TranslateAcceleratorA(accelTarget, gAccelerators, reinterpret_cast<MSG*>(lParam))) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void InitWin32Ui(HINSTANCE instance) {
    gInstance = instance;
}

HINSTANCE UiInstance() {
    return gInstance != nullptr ? gInstance : GetModuleHandleA(nullptr);
}

void SetAcceleratorTarget(HWND window) {
    accelTarget = window;
}

void ForgetAcceleratorTarget(HWND window) {
    if (accelTarget == window) {
        accelTarget = nullptr;
    }
}

int RunMainDialog(Dialog& dialog, int acceleratorTableId) {
    if (dialog.Host() != nullptr) {
        return -1;
    }
    HHOOK hook = nullptr;
    if (acceleratorTableId != 0) {
        gAccelerators = LoadAcceleratorsA(UiInstance(), MAKEINTRESOURCEA(acceleratorTableId));
        if (gAccelerators != nullptr) {
            hook = SetWindowsHookExA(WH_MSGFILTER, &MessageFilter, nullptr, GetCurrentThreadId());
        }
    }
    Win32DialogHost host(dialog, Win32DialogHost::Kind::kModal);
    INT_PTR result = DialogBoxParamA(UiInstance(), MAKEINTRESOURCEA(dialog.TemplateId()), nullptr,
                                     &Win32DialogHost::DialogProc, reinterpret_cast<LPARAM>(&host));
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
    }
    // A table loaded from the resources is the system's to free.
    gAccelerators = nullptr;
    return static_cast<int>(result);
}

}  // namespace vz
