// The smallest dialog program, the yardstick for the tool's start-up time under Wine.
#include <windows.h>

namespace {

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A template in memory: a captioned window with one OK button.
    alignas(4) WORD buffer[256] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;
    dialog->cdit = 1;
    dialog->cx = 160;
    dialog->cy = 60;
    WORD* p = reinterpret_cast<WORD*>(dialog + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // the standard dialog class
    for (const char* c = "Empty Dialog"; (*p++ = static_cast<WORD>(*c)) != 0; ++c) {
    }
    p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    item->x = 55;
    item->y = 36;
    item->cx = 50;
    item->cy = 14;
    item->id = IDOK;
    p = reinterpret_cast<WORD*>(item + 1);
    *p++ = 0xFFFF;
    *p++ = 0x0080;  // button
    for (const char* c = "OK"; (*p++ = static_cast<WORD>(*c)) != 0; ++c) {
    }
    *p++ = 0;  // no creation data
    DialogBoxIndirectParamA(instance, dialog, nullptr, Procedure, 0);
    return 0;
}
