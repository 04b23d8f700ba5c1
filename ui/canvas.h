// A small drawing surface on one control: rectangles and lines in RGB, for the spectrum graph.
#pragma once

#include <cstdint>

namespace vz {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};

// Pixels, left and top inclusive, right and bottom exclusive, as the window system counts them.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

// Obtained from DialogHost::OpenCanvas and valid until destroyed; drawing goes straight onto the
// control's client area and is not kept by the window system (the next paint may cover it).
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual Rect ClientRect() = 0;
    // Fills the rectangle; a rectangle given with its corners swapped is filled all the same.
    virtual void FillRect(const Rect& rect, Rgb colour) = 0;
    // Fills the rectangle with `fill` and outlines it with a one-pixel black pen.
    virtual void Rectangle(const Rect& rect, Rgb fill) = 0;
    // From (x0, y0) up to, not including, (x1, y1), one pixel wide.
    virtual void Line(int x0, int y0, int x1, int y1, Rgb colour) = 0;
    // Draws an icon of the program's resources with its top-left corner at (x, y).
    virtual void DrawIcon(int x, int y, int iconResourceId) = 0;
};

}  // namespace vz
