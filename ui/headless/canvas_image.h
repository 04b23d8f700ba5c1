// Turns recorded canvas calls into pixels, by the window system's rules, and writes them as PPM.
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/headless/control_state.h"

namespace vz {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // row by row

    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr Rgb kIconPlaceholder{0, 128, 128};

// Plays the calls in order onto a width x height image of `background`; whatever falls outside
// is clipped. Icons are drawn as iconSize squares of kIconPlaceholder.
Image RenderCanvas(const std::vector<CanvasOp>& ops, int width, int height, Rgb background,
                   int iconSize = 32);

// Binary PPM (P6). False when the file cannot be written.
bool WritePpm(const Image& image, const std::string& path);

}  // namespace vz
