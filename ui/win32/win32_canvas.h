// The canvas on Win32: a device context of the control, brushes and pens made per call.
#pragma once

#include <windows.h>

#include "ui/canvas.h"

namespace vz {

class Win32Canvas : public Canvas {
  public:
    explicit Win32Canvas(HWND window);
    ~Win32Canvas() override;
    Win32Canvas(const Win32Canvas&) = delete;
    Win32Canvas& operator=(const Win32Canvas&) = delete;

    Rect ClientRect() override;
    void FillRect(const Rect& rect, Rgb colour) override;
    void Rectangle(const Rect& rect, Rgb fill) override;
    void Line(int x0, int y0, int x1, int y1, Rgb colour) override;
    void DrawIcon(int x, int y, int iconResourceId) override;

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace vz
