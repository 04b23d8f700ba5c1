// Drawing on a control through GDI; every object made for a call is released after it.
#include "ui/win32/win32_canvas.h"

#include <algorithm>

#include "ui/win32/win32_ui.h"

namespace vz {
namespace {

COLORREF Colour(Rgb c) {
    return RGB(c.red, c.green, c.blue);
}

RECT Normalised(const Rect& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

}  // namespace

Win32Canvas::Win32Canvas(HWND window) : window_(window), dc_(GetDC(window)) {}

Win32Canvas::~Win32Canvas() {
    if (dc_ != nullptr) {
        ReleaseDC(window_, dc_);
    }
}

Rect Win32Canvas::ClientRect() {
    RECT r{};
    GetClientRect(window_, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

void Win32Canvas::FillRect(const Rect& rect, Rgb colour) {
    if (dc_ == nullptr) {
        return;
    }
    RECT r = Normalised(rect);
    HBRUSH brush = CreateSolidBrush(Colour(colour));
    ::FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void Win32Canvas::Rectangle(const Rect& rect, Rgb fill) {
    if (dc_ == nullptr) {
        return;
    }
    HBRUSH brush = CreateSolidBrush(Colour(fill));
    HGDIOBJ oldBrush = SelectObject(dc_, brush);
    HGDIOBJ oldPen = SelectObject(dc_, GetStockObject(BLACK_PEN));
    ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc_, oldPen);
    SelectObject(dc_, oldBrush);
    DeleteObject(brush);
}

void Win32Canvas::Line(int x0, int y0, int x1, int y1, Rgb colour) {
    if (dc_ == nullptr) {
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, Colour(colour));
    HGDIOBJ oldPen = SelectObject(dc_, pen);
    MoveToEx(dc_, x0, y0, nullptr);
    LineTo(dc_, x1, y1);
    SelectObject(dc_, oldPen);
    DeleteObject(pen);
}

void Win32Canvas::DrawIcon(int x, int y, int iconResourceId) {
    if (dc_ == nullptr) {
        return;
    }
    // A shared icon: the system keeps it, so it is not destroyed here.
    HICON icon = LoadIconA(UiInstance(), MAKEINTRESOURCEA(iconResourceId));
    if (icon != nullptr) {
        ::DrawIcon(dc_, x, y, icon);
    }
}

}  // namespace vz
