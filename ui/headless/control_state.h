// What the headless host remembers of each control, and how a test declares a dialog's template.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/canvas.h"

namespace vz {

// Only what changes how a simulated click behaves; everything else can stay kOther.
enum class ControlKind { kOther, kButton, kCheckBox, kRadio, kEdit, kCombo, kListBox, kListView };

struct CanvasOp {
    enum class Kind { kFill, kRectangle, kLine, kIcon };
    Kind kind = Kind::kFill;
    Rect rect;  // for lines: left/top the start, right/bottom the end; for icons: left/top
    Rgb colour;
    int iconResourceId = 0;
    bool operator==(const CanvasOp&) const = default;
};

struct ListViewColumn {
    std::string heading;
    int width = 0;
};

struct ListViewRow {
    std::vector<std::string> texts;  // one per column
    intptr_t data = 0;
    bool selected = false;
};

struct ControlState {
    ControlKind kind = ControlKind::kOther;
    int radioGroup = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int editLimit = 0;     // 0: no limit of the program's
    std::string bitmapUp;  // picture buttons
    std::string bitmapDown;
    // Combo and list boxes.
    std::vector<std::string> items;
    int selected = -1;
    int topIndex = 0;
    // List views.
    std::vector<ListViewColumn> columns;
    std::vector<ListViewRow> rows;
    // Progress bars, track bars and scroll bars (the window system's default range is 0..100).
    int low = 0;
    int high = 100;
    int pos = 0;
    std::vector<int> ticks;
    // Drawing.
    Rect client;
    std::vector<CanvasOp> canvas;
};

// One control of a declared template; a test names only the controls it cares about:
// ControlSpec(1107, ControlKind::kButton, "&Very Advanced Configuration").Disabled().Hidden()
struct ControlSpec {
    explicit ControlSpec(int controlId, ControlKind controlKind = ControlKind::kOther,
                         std::string caption = {})
        : id(controlId), kind(controlKind), text(std::move(caption)) {}
    ControlSpec& Disabled() {
        enabled = false;
        return *this;
    }
    ControlSpec& Hidden() {
        visible = false;
        return *this;
    }
    // Auto radio buttons of one group share a number.
    ControlSpec& Group(int group) {
        radioGroup = group;
        return *this;
    }
    // Client size in pixels, for canvases.
    ControlSpec& Size(int w, int h) {
        width = w;
        height = h;
        return *this;
    }

    int id;
    ControlKind kind;
    std::string text;
    bool enabled = true;
    bool visible = true;
    int radioGroup = 0;
    int width = 0;
    int height = 0;
};

// When a template is declared, touching a control id it does not name is an error (it would be
// a silent no-op on the real window system, which hides typing mistakes in ids).
struct TemplateSpec {
    std::string caption;
    std::vector<ControlSpec> controls;
};

}  // namespace vz
