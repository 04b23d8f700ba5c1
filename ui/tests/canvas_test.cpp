// Canvas calls are recorded as made and rendered by the window system's pixel rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/fake/virtual_clock.h"
#include "ui/headless/headless_ui.h"
#include "ui/minimised_icon.h"
#include "ui/tests/probe_dialog.h"

namespace vz {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kGrey{192, 192, 192};

// Counts the pixels of `colour` in a column or row of the image.
int CountInColumn(const Image& image, int x, Rgb colour) {
    int n = 0;
    for (int y = 0; y < image.height; ++y) {
        n += image.At(x, y) == colour;
    }
    return n;
}

int CountInRow(const Image& image, int y, Rgb colour) {
    int n = 0;
    for (int x = 0; x < image.width; ++x) {
        n += image.At(x, y) == colour;
    }
    return n;
}

TEST(CanvasImageTest, ShapesCoverThePixelsTheWindowSystemWould) {
    struct Case {
        const char* name;
        CanvasOp op;
        int column;  // a column crossing the shape
        int expectedInColumn;
        Rgb colour;
    };
    const Case cases[] = {
        {"fill excludes right and bottom",
         {CanvasOp::Kind::kFill, {2, 3, 5, 9}, kNavy},
         4,
         6,
         kNavy},
        {"fill at right edge is empty", {CanvasOp::Kind::kFill, {2, 3, 5, 9}, kNavy}, 5, 0, kNavy},
        {"swapped corners fill alike", {CanvasOp::Kind::kFill, {5, 9, 2, 3}, kNavy}, 2, 6, kNavy},
        {"rectangle outline is black",
         {CanvasOp::Kind::kRectangle, {2, 3, 6, 9}, kGrey},
         2,
         6,
         kBlack},
        {"rectangle inside is the fill",
         {CanvasOp::Kind::kRectangle, {2, 3, 6, 9}, kGrey},
         3,
         4,
         kGrey},
        {"vertical line stops before its end",
         {CanvasOp::Kind::kLine, {4, 2, 4, 7}, kBlack},
         4,
         5,
         kBlack},
        {"clipped at the image border",
         {CanvasOp::Kind::kFill, {-5, -5, 3, 30}, kGreen},
         0,
         12,
         kGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = RenderCanvas({c.op}, 10, 12, kWhite);
        EXPECT_EQ(CountInColumn(image, c.column, c.colour), c.expectedInColumn);
    }
}

TEST(CanvasImageTest, DiagonalLineAndLaterCallsPaintOver) {
    Image image = RenderCanvas({{CanvasOp::Kind::kFill, {0, 0, 8, 8}, kNavy},
                                {CanvasOp::Kind::kLine, {0, 0, 4, 4}, kGreen}},
                               8, 8, kWhite);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(image.At(i, i), kGreen);
    }
    EXPECT_EQ(image.At(4, 4), kNavy);
    EXPECT_EQ(CountInRow(image, 7, kNavy), 8);
}

TEST(CanvasImageTest, HostRecordsCallsPerControlAndWritesPpm) {
    VirtualClock clock;
    HeadlessUi ui(clock);
    test::ProbeDialog dialog(147);
    HeadlessHost& host = ui.Open(dialog);
    host.SetClientSize(1146, 20, 10);
    {
        std::unique_ptr<Canvas> canvas = host.OpenCanvas(1146);
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->ClientRect(), (Rect{0, 0, 20, 10}));
        canvas->FillRect({5, 2, 9, 8}, kNavy);
        canvas->Rectangle({5, 2, 9, 8}, kGrey);
    }
    const std::vector<CanvasOp>& ops = host.Control(1146).canvas;
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1], (CanvasOp{CanvasOp::Kind::kRectangle, {5, 2, 9, 8}, kGrey, 0}));

    const std::string path = ::testing::TempDir() + "vz_canvas_test.ppm";
    ASSERT_TRUE(host.WriteCanvasPpm(1146, path));
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string header = "P6\n20 10\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 20 * 10 * 3);
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    std::remove(path.c_str());
}

// A minimised window shows its icon centred, rounding up; an open one paints as usual.
TEST(MinimisedIcon, IsDrawnCentredOnlyWhileMinimised) {
    VirtualClock clock{0};
    HeadlessUi ui{clock};
    test::ProbeDialog dialog(100);
    dialog.onPaint = [&] { PaintIconWhileMinimised(*dialog.Host(), 7); };
    HeadlessHost& host = ui.Open(dialog);
    host.SetClientSize(0, 37, 40);
    host.FirePaint();
    EXPECT_TRUE(host.Control(0).canvas.empty());
    host.SetMinimised(true);
    host.FirePaint();
    ASSERT_FALSE(host.Control(0).canvas.empty());
    EXPECT_EQ(host.Control(0).canvas.back().iconResourceId, 7);
    EXPECT_EQ(host.Control(0).canvas.back().rect.left, 3);
    EXPECT_EQ(host.Control(0).canvas.back().rect.top, 4);
}

}  // namespace
}  // namespace vz
