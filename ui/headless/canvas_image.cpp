// Rendering of recorded canvas calls: fills and rectangles exclude the right and bottom edges and
// lines exclude their last point, as on the real window system, so geometry checks carry over.
#include "ui/headless/canvas_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vz {
namespace {

class Painter {
  public:
    explicit Painter(Image& image) : image_(image) {}

    void Plot(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < image_.width && y < image_.height) {
            image_.pixels[static_cast<size_t>(y) * image_.width + x] = colour;
        }
    }

    void Fill(Rect r, Rgb colour) {
        r = Normalised(r);
        int left = std::max(r.left, 0);
        int top = std::max(r.top, 0);
        int right = std::min(r.right, image_.width);
        int bottom = std::min(r.bottom, image_.height);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                Plot(x, y, colour);
            }
        }
    }

    void Frame(Rect r, Rgb fill) {
        r = Normalised(r);
        if (r.right - r.left < 1 || r.bottom - r.top < 1) {
            return;
        }
        Fill(r, fill);
        for (int x = r.left; x < r.right; ++x) {
            Plot(x, r.top, kBlack);
            Plot(x, r.bottom - 1, kBlack);
        }
        for (int y = r.top; y < r.bottom; ++y) {
            Plot(r.left, y, kBlack);
            Plot(r.right - 1, y, kBlack);
        }
    }

    // Bresenham from (x0, y0) towards (x1, y1), stopping before the last point.
    void Line(int x0, int y0, int x1, int y1, Rgb colour) {
        int dx = std::abs(x1 - x0);
        int dy = -std::abs(y1 - y0);
        int sx = x0 < x1 ? 1 : -1;
        int sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        while (x0 != x1 || y0 != y1) {
            Plot(x0, y0, colour);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

  private:
    static Rect Normalised(Rect r) {
        if (r.left > r.right) {
            std::swap(r.left, r.right);
        }
        if (r.top > r.bottom) {
            std::swap(r.top, r.bottom);
        }
        return r;
    }

    Image& image_;
};

}  // namespace

Image RenderCanvas(const std::vector<CanvasOp>& ops, int width, int height, Rgb background,
                   int iconSize) {
    Image image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, background);
    Painter painter(image);
    for (const CanvasOp& op : ops) {
        switch (op.kind) {
            case CanvasOp::Kind::kFill:
                painter.Fill(op.rect, op.colour);
                break;
            case CanvasOp::Kind::kRectangle:
                painter.Frame(op.rect, op.colour);
                break;
            case CanvasOp::Kind::kLine:
                painter.Line(op.rect.left, op.rect.top, op.rect.right, op.rect.bottom, op.colour);
                break;
            case CanvasOp::Kind::kIcon:
                painter.Fill(
                    {op.rect.left, op.rect.top, op.rect.left + iconSize, op.rect.top + iconSize},
                    kIconPlaceholder);
                break;
        }
    }
    return image;
}

bool WritePpm(const Image& image, const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        return false;
    }
    std::fprintf(file.get(), "P6\n%d %d\n255\n", image.width, image.height);
    for (const Rgb& p : image.pixels) {
        const unsigned char bytes[3] = {p.red, p.green, p.blue};
        if (std::fwrite(bytes, 1, 3, file.get()) != 3) {
            return false;
        }
    }
    return std::fflush(file.get()) == 0;
}

}  // namespace vz
