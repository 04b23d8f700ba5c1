// The headless window: control state kept in memory, messages delivered straight to the dialog,
// and the dialog manager's own habits (auto check boxes, clamped positions) where tests rely on
// them.
#include "ui/headless/headless_host.h"

#include <algorithm>
#include <stdexcept>

#include "ui/headless/headless_ui.h"

namespace vz {
namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas(HeadlessHost& host, int id) : host_(host), id_(id) {}

    Rect ClientRect() override { return host_.Control(id_).client; }
    void FillRect(const Rect& rect, Rgb colour) override {
        Add({CanvasOp::Kind::kFill, rect, colour, 0});
    }
    void Rectangle(const Rect& rect, Rgb fill) override {
        Add({CanvasOp::Kind::kRectangle, rect, fill, 0});
    }
    void Line(int x0, int y0, int x1, int y1, Rgb colour) override {
        Add({CanvasOp::Kind::kLine, {x0, y0, x1, y1}, colour, 0});
    }
    void DrawIcon(int x, int y, int iconResourceId) override {
        Add({CanvasOp::Kind::kIcon, {x, y, x, y}, {}, iconResourceId});
    }

  private:
    void Add(const CanvasOp& op) { host_.Control(id_).canvas.push_back(op); }

    HeadlessHost& host_;
    int id_;
};

bool InRange(int index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) < size;
}

int FindExact(const std::vector<std::string>& items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

HeadlessHost::HeadlessHost(HeadlessUi& ui, Dialog& dialog, Role role, HeadlessHost* owner,
                           WindowRef ref, const TemplateSpec* spec)
    : ui_(ui),
      dialog_(&dialog),
      templateId_(dialog.TemplateId()),
      role_(role),
      owner_(owner),
      ref_(ref),
      strict_(spec != nullptr) {
    if (spec != nullptr) {
        caption_ = spec->caption;
        for (const ControlSpec& c : spec->controls) {
            ControlState& state = controls_[c.id];
            state.kind = c.kind;
            state.text = c.text;
            state.enabled = c.enabled;
            state.visible = c.visible;
            state.radioGroup = c.radioGroup;
            state.client = {0, 0, c.width, c.height};
        }
    }
    // The system menu a window with caption and system menu starts with.
    systemMenu_ = {{kScRestore, "&Restore"},    {0xF010, "&Move"},          {kScSize, "&Size"},
                   {kScMinimize, "Mi&nimize"},  {kScMaximize, "Ma&ximize"}, {0, "", true},
                   {kScClose, "&Close\tAlt+F4"}};
}

// --- Life of the window

void HeadlessHost::Create() {
    created_ = true;
    DialogBinding::Attach(*dialog_, this);
    Deliver("init", [](Dialog& d) { d.OnInitDialog(); });
}

void HeadlessHost::Destroy() {
    if (!created_ || destroyed_ || destroying_) {
        return;
    }
    destroying_ = true;
    // Owned windows go first, as on the real window system.
    for (HeadlessHost* other : ui_.Windows()) {
        if (other->owner_ == this && other->IsOpen()) {
            other->Destroy();
        }
    }
    Log("destroy");
    Dialog* dialog = dialog_;
    dialog->OnDestroy();
    timers_.clear();
    if (ui_.capture_ == ref_) {
        ui_.capture_ = 0;
    }
    DialogBinding::Attach(*dialog, nullptr);
    dialog_ = nullptr;
    destroyed_ = true;
    visible_ = false;
}

void HeadlessHost::Log(const std::string& event) {
    ui_.Log(templateId_, event);
}

void HeadlessHost::AfterUserAction() {
    ui_.Settle();
}

ControlState* HeadlessHost::Find(int id) {
    auto it = controls_.find(id);
    if (it != controls_.end()) {
        return &it->second;
    }
    if (strict_ && id != 0) {
        throw std::logic_error("dialog " + Num(templateId_) + " has no control " + Num(id));
    }
    return &controls_[id];
}

ControlState& HeadlessHost::Typed(int id, ControlKind kind) {
    ControlState& c = *Find(id);
    if (c.kind == ControlKind::kOther) {
        c.kind = kind;
    }
    return c;
}

ControlState& HeadlessHost::Control(int id) {
    return *Find(id);
}

bool HeadlessHost::UserCanReach(int id) {
    if (!IsOpen() || !IsWindowEnabled() || !visible_) {
        return false;
    }
    const ControlState& c = Control(id);
    return c.enabled && c.visible;
}

// --- Controls

void HeadlessHost::SetItemText(int id, std::string_view text) {
    Find(id)->text = text;
}

std::string HeadlessHost::GetItemText(int id) {
    const ControlState& c = *Find(id);
    if (c.kind == ControlKind::kCombo) {
        return InRange(c.selected, c.items.size()) ? c.items[c.selected] : std::string();
    }
    return c.text;
}

void HeadlessHost::EnableItem(int id, bool enable) {
    Find(id)->enabled = enable;
}

void HeadlessHost::ShowItem(int id, bool show) {
    Find(id)->visible = show;
}

void HeadlessHost::SetFocus(int id) {
    Find(id);
    focus_ = id;
}

void HeadlessHost::SetCheck(int id, bool checked) {
    Find(id)->checked = checked;
}

bool HeadlessHost::IsChecked(int id) {
    return Find(id)->checked;
}

void HeadlessHost::CheckRadio(int firstId, int lastId, int checkedId) {
    for (int id = firstId; id <= lastId; ++id) {
        auto it = controls_.find(id);
        if (it != controls_.end()) {
            it->second.checked = false;
        }
    }
    Find(checkedId)->checked = true;
}

void HeadlessHost::SetEditLimit(int id, int maxChars) {
    Typed(id, ControlKind::kEdit).editLimit = std::max(maxChars, 0);
}

bool HeadlessHost::SetButtonBitmaps(int id, std::string_view up, std::string_view down) {
    ControlState& c = *Find(id);
    if (!ui_.bitmapsAvailable_) {
        return false;
    }
    c.bitmapUp = up;
    c.bitmapDown = down;
    return true;
}

// Combo and list boxes keep the same state; only the kind they take differs.

void HeadlessHost::ComboReset(int id) {
    ControlState& c = Typed(id, ControlKind::kCombo);
    c.items.clear();
    c.selected = -1;
    c.topIndex = 0;
}

int HeadlessHost::ComboAdd(int id, std::string_view text) {
    ControlState& c = Typed(id, ControlKind::kCombo);
    c.items.emplace_back(text);
    return static_cast<int>(c.items.size()) - 1;
}

int HeadlessHost::ComboCount(int id) {
    return static_cast<int>(Typed(id, ControlKind::kCombo).items.size());
}

void HeadlessHost::ComboSelect(int id, int index) {
    ControlState& c = Typed(id, ControlKind::kCombo);
    c.selected = InRange(index, c.items.size()) ? index : -1;
}

bool HeadlessHost::ComboSelectText(int id, std::string_view text) {
    ControlState& c = Typed(id, ControlKind::kCombo);
    int index = FindExact(c.items, text);
    if (index < 0) {
        return false;
    }
    c.selected = index;
    return true;
}

int HeadlessHost::ComboSelectedIndex(int id) {
    return Typed(id, ControlKind::kCombo).selected;
}

std::string HeadlessHost::ComboSelectedText(int id) {
    const ControlState& c = Typed(id, ControlKind::kCombo);
    return InRange(c.selected, c.items.size()) ? c.items[c.selected] : std::string();
}

void HeadlessHost::ListBoxReset(int id) {
    Typed(id, ControlKind::kListBox);
    ComboReset(id);
}

int HeadlessHost::ListBoxAdd(int id, std::string_view text) {
    Typed(id, ControlKind::kListBox);
    return ComboAdd(id, text);
}

int HeadlessHost::ListBoxCount(int id) {
    Typed(id, ControlKind::kListBox);
    return ComboCount(id);
}

void HeadlessHost::ListBoxSelect(int id, int index) {
    Typed(id, ControlKind::kListBox);
    ComboSelect(id, index);
}

bool HeadlessHost::ListBoxSelectText(int id, std::string_view text) {
    Typed(id, ControlKind::kListBox);
    return ComboSelectText(id, text);
}

int HeadlessHost::ListBoxSelectedIndex(int id) {
    Typed(id, ControlKind::kListBox);
    return ComboSelectedIndex(id);
}

std::string HeadlessHost::ListBoxSelectedText(int id) {
    Typed(id, ControlKind::kListBox);
    return ComboSelectedText(id);
}

void HeadlessHost::ListBoxSetTopIndex(int id, int index) {
    ControlState& c = Typed(id, ControlKind::kListBox);
    if (InRange(index, c.items.size())) {
        c.topIndex = index;
    }
}

// --- List views

void HeadlessHost::ListViewAddColumn(int id, int column, std::string_view heading,
                                     int widthPixels) {
    ControlState& c = Typed(id, ControlKind::kListView);
    size_t at = std::min(static_cast<size_t>(std::max(column, 0)), c.columns.size());
    c.columns.insert(c.columns.begin() + at, ListViewColumn{std::string(heading), widthPixels});
}

int HeadlessHost::ListViewInsertRow(int id, int row, std::string_view text, intptr_t data) {
    ControlState& c = Typed(id, ControlKind::kListView);
    size_t at = std::min(static_cast<size_t>(std::max(row, 0)), c.rows.size());
    ListViewRow newRow;
    newRow.texts.assign(std::max<size_t>(c.columns.size(), 1), std::string());
    newRow.texts[0] = text;
    newRow.data = data;
    c.rows.insert(c.rows.begin() + at, std::move(newRow));
    return static_cast<int>(at);
}

void HeadlessHost::ListViewSetText(int id, int row, int column, std::string_view text) {
    ControlState& c = Typed(id, ControlKind::kListView);
    if (!InRange(row, c.rows.size()) || column < 0) {
        return;
    }
    std::vector<std::string>& texts = c.rows[row].texts;
    if (static_cast<size_t>(column) >= texts.size()) {
        texts.resize(column + 1);
    }
    texts[column] = text;
}

intptr_t HeadlessHost::ListViewRowData(int id, int row) {
    const ControlState& c = Typed(id, ControlKind::kListView);
    return InRange(row, c.rows.size()) ? c.rows[row].data : 0;
}

int HeadlessHost::ListViewSelectedRow(int id) {
    const ControlState& c = Typed(id, ControlKind::kListView);
    for (size_t i = 0; i < c.rows.size(); ++i) {
        if (c.rows[i].selected) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void HeadlessHost::ListViewClearSelection(int id) {
    for (ListViewRow& row : Typed(id, ControlKind::kListView).rows) {
        row.selected = false;
    }
}

// --- Ranges and positions: the controls clamp what they are given.

void HeadlessHost::ProgressSetRange(int id, int low, int high) {
    ControlState& c = *Find(id);
    c.low = low;
    c.high = high;
}

void HeadlessHost::ProgressSetPos(int id, int pos) {
    ControlState& c = *Find(id);
    c.pos = std::clamp(pos, c.low, std::max(c.low, c.high));
}

void HeadlessHost::TrackBarSetRange(int id, int low, int high) {
    ControlState& c = *Find(id);
    c.low = low;
    c.high = high;
    c.pos = std::clamp(c.pos, c.low, std::max(c.low, c.high));
}

void HeadlessHost::TrackBarSetTick(int id, int pos) {
    ControlState& c = *Find(id);
    if (pos > c.low && pos < c.high &&
        std::find(c.ticks.begin(), c.ticks.end(), pos) == c.ticks.end()) {
        c.ticks.push_back(pos);
    }
}

void HeadlessHost::TrackBarSetPos(int id, int pos) {
    ProgressSetPos(id, pos);
}

int HeadlessHost::TrackBarGetPos(int id) {
    return Find(id)->pos;
}

void HeadlessHost::ScrollBarSetRange(int id, int low, int high) {
    TrackBarSetRange(id, low, high);
}

void HeadlessHost::ScrollBarSetPos(int id, int pos) {
    ProgressSetPos(id, pos);
}

int HeadlessHost::ScrollBarGetPos(int id) {
    return Find(id)->pos;
}

// --- The window

void HeadlessHost::SetCaption(std::string_view text) {
    caption_ = text;
}

void HeadlessHost::Show(bool visible) {
    visible_ = visible;
    Log(visible ? "show" : "hide");
}

void HeadlessHost::BringToForeground() {
    ui_.foreground_ = ref_;
    Log("foreground");
}

void HeadlessHost::Invalidate(int id, bool erase) {
    Find(id);
    Log("invalidate " + Num(id) + " " + Num(erase));
    if (id == 0) {
        paintPending_ = true;
    }
}

std::unique_ptr<Canvas> HeadlessHost::OpenCanvas(int id) {
    Find(id);
    return std::make_unique<RecordingCanvas>(*this, id);
}

void HeadlessHost::SystemMenuAppend(uint32_t commandId, std::string_view text) {
    systemMenu_.push_back({0, "", true, false});
    systemMenu_.push_back({commandId, std::string(text), false, false});
}

std::string HeadlessHost::SystemMenuText(int position) {
    if (!InRange(position, systemMenu_.size())) {
        return std::string();
    }
    return systemMenu_[position].text.substr(0, 256);
}

void HeadlessHost::SystemMenuGrey(int position) {
    if (InRange(position, systemMenu_.size())) {
        systemMenu_[position].greyed = true;
    }
}

// --- Timers: the window system fires no faster than every 10 ms.

uint32_t HeadlessHost::SetTimer(uint32_t id, uint32_t periodMs) {
    if (!IsOpen()) {
        return 0;
    }
    TimerState& timer = timers_[id];
    timer.period = periodMs;
    timer.due = ui_.Now() + std::max<uint32_t>(periodMs, 10);
    timer.order = ++ui_.timerOrder_;
    Log("settimer " + Num(id) + " " + Num(periodMs));
    return id;
}

void HeadlessHost::KillTimer(uint32_t id) {
    timers_.erase(id);
    Log("killtimer " + Num(id));
}

std::map<uint32_t, uint32_t> HeadlessHost::Timers() const {
    std::map<uint32_t, uint32_t> periods;
    for (const auto& [id, timer] : timers_) {
        periods[id] = timer.period;
    }
    return periods;
}

void HeadlessHost::CaptureWithWaitCursor() {
    ui_.capture_ = ref_;
    ui_.cursor_ = CursorShape::kWait;
    Log("capture");
}

void HeadlessHost::ReleaseWithArrowCursor() {
    ui_.capture_ = 0;
    ui_.cursor_ = CursorShape::kArrow;
    Log("release");
}

// --- Other dialogs

int HeadlessHost::RunModal(Dialog& child) {
    if (!IsOpen() || child.Host() != nullptr) {
        return -1;
    }
    HeadlessHost& host = ui_.NewHost(child, Role::kModal, this);
    host.Log("open modal");
    struct Disabled {
        int& count;
        explicit Disabled(int& c) : count(c) { ++count; }
        ~Disabled() { --count; }
    } disabled(modalChildren_);
    host.Create();
    if (!host.ended_ && !host.destroyed_) {
        HeadlessUi::Answer answer;
        try {
            answer = ui_.TakeAnswer(child.TemplateId());
        } catch (...) {
            host.Destroy();
            throw;
        }
        answer.answer(child, host);
        ui_.Settle();
        if (!host.ended_ && !host.destroyed_) {
            host.Destroy();
            throw std::logic_error("modal dialog " + Num(child.TemplateId()) +
                                   " still open after its scripted answer");
        }
    }
    host.Destroy();
    return host.endCode_;
}

bool HeadlessHost::OpenModeless(Dialog& child) {
    if (!IsOpen() || child.Host() != nullptr) {
        return false;
    }
    HeadlessHost& host = ui_.NewHost(child, Role::kModeless, this);
    host.Log("open modeless");
    host.Create();
    return true;
}

void HeadlessHost::EndDialog(int code) {
    ended_ = true;
    endCode_ = code;
    Log("end " + Num(code));
    if (role_ == Role::kModeless) {
        visible_ = false;
    }
}

void HeadlessHost::DestroyWindow() {
    if (!ended_) {
        ended_ = true;
    }
    Destroy();
}

void HeadlessHost::MakeAcceleratorTarget() {
    ui_.acceleratorTarget_ = ref_;
    Log("accelerator target");
}

// --- Pumps

bool HeadlessHost::PumpMouseMessage() {
    // The thread's queue: this window's input first, then any other open window's.
    HeadlessHost* source = mouse_.empty() ? nullptr : this;
    for (const auto& host : ui_.hosts_) {
        if (source == nullptr && !host->destroyed_ && !host->mouse_.empty()) {
            source = host.get();
        }
    }
    return source != nullptr && source->DispatchQueuedMouse();
}

bool HeadlessHost::DispatchQueuedMouse() {
    std::function<void()> effect = std::move(mouse_.front());
    mouse_.pop_front();
    Log("pump mouse");
    ++ui_.settleHold_;
    effect();
    --ui_.settleHold_;
    return true;
}

int HeadlessHost::PumpDwellMessages(PumpListener& listener) {
    if (!mouse_.empty()) {
        listener.BeforeDispatch(PumpListener::Kind::kMouse);
        DispatchQueuedMouse();
        listener.AfterDispatch(PumpListener::Kind::kMouse);
    } else if (paintPending_) {
        listener.BeforeDispatch(PumpListener::Kind::kPaint);
        Log("pump paint");
        paintPending_ = false;
        Deliver("paint", [](Dialog& d) { d.OnPaint(); });
        listener.AfterDispatch(PumpListener::Kind::kPaint);
    }
    return keys_.empty() ? 0 : keys_.front();
}

void HeadlessHost::QueueMouse(std::function<void()> effect) {
    mouse_.push_back(std::move(effect));
}

// --- Canvas images

Image HeadlessHost::RenderCanvas(int id, Rgb background) {
    const ControlState& c = Control(id);
    return vz::RenderCanvas(c.canvas, c.client.right, c.client.bottom, background, IconWidth());
}

bool HeadlessHost::WriteCanvasPpm(int id, const std::string& path, Rgb background) {
    return WritePpm(RenderCanvas(id, background), path);
}

void HeadlessHost::SetClientSize(int id, int width, int height) {
    Control(id).client = {0, 0, width, height};
}

// --- What the user does

bool HeadlessHost::Click(int id) {
    if (!UserCanReach(id)) {
        return false;
    }
    ControlState& c = Control(id);
    if (c.kind == ControlKind::kCheckBox) {
        c.checked = !c.checked;
    } else if (c.kind == ControlKind::kRadio) {
        if (c.radioGroup != 0) {
            for (auto& [otherId, other] : controls_) {
                if (other.kind == ControlKind::kRadio && other.radioGroup == c.radioGroup) {
                    other.checked = false;
                }
            }
        }
        c.checked = true;
    }
    FireCommand(id, kBnClicked);
    return true;
}

bool HeadlessHost::Select(int id, int index) {
    if (!UserCanReach(id) || !InRange(index, Control(id).items.size())) {
        return false;
    }
    Control(id).selected = index;
    FireCommand(id, kCbnSelChange);
    return true;
}

bool HeadlessHost::SelectText(int id, std::string_view text) {
    return Select(id, FindExact(Control(id).items, text));
}

bool HeadlessHost::Type(int id, std::string_view text) {
    if (!UserCanReach(id)) {
        return false;
    }
    ControlState& c = Control(id);
    c.text = c.editLimit > 0 ? text.substr(0, c.editLimit) : text;
    FireCommand(id, kEnUpdate);
    FireCommand(id, kEnChange);
    return true;
}

bool HeadlessHost::TabTo(int id) {
    if (!UserCanReach(id)) {
        return false;
    }
    int previous = focus_;
    focus_ = id;
    if (previous != id && previous != 0 && Control(previous).kind == ControlKind::kListView) {
        FireNotify(previous, kNmKillFocus);
    }
    if (previous != id && Control(id).kind == ControlKind::kListView) {
        FireNotify(id, kNmSetFocus);
    }
    return true;
}

bool HeadlessHost::ClickRow(int id, int row) {
    if (!UserCanReach(id)) {
        return false;
    }
    if (focus_ != id) {
        TabTo(id);
    }
    std::vector<ListViewRow>& rows = Control(id).rows;
    for (ListViewRow& r : rows) {
        r.selected = false;
    }
    if (InRange(row, rows.size())) {
        rows[row].selected = true;
    }
    FireNotify(id, kNmClick);
    return true;
}

bool HeadlessHost::DoubleClickRow(int id, int row) {
    if (!ClickRow(id, row)) {
        return false;
    }
    FireNotify(id, kNmDblClk);
    return true;
}

bool HeadlessHost::MoveTrackBar(int id, int pos) {
    if (!UserCanReach(id)) {
        return false;
    }
    TrackBarSetPos(id, pos);
    FireHScroll(id, kSbThumbPosition, Control(id).pos);
    FireHScroll(id, kSbEndScroll, 0);
    return true;
}

bool HeadlessHost::PressEscape() {
    if (!IsOpen() || !IsWindowEnabled() || !visible_) {
        return false;
    }
    FireCommand(kIdCancel, kBnClicked);
    return true;
}

bool HeadlessHost::PressCloseBox() {
    if (!IsOpen() || !IsWindowEnabled() || !visible_) {
        return false;
    }
    FireSysCommand(kScClose);
    return true;
}

bool HeadlessHost::RightDoubleClick(int x, int y) {
    if (!IsOpen() || !IsWindowEnabled() || !visible_) {
        return false;
    }
    FireRButtonDblClk(x, y);
    return true;
}

// --- Raw messages

void HeadlessHost::FireCommand(int id, int code) {
    Deliver("command " + Num(id) + " " + Num(code), [&](Dialog& d) { d.OnCommand(id, code); });
    AfterUserAction();
}

void HeadlessHost::FireTimer(uint32_t id) {
    Deliver("timer " + Num(id), [&](Dialog& d) { d.OnTimer(id); });
    AfterUserAction();
}

void HeadlessHost::FireNotify(int id, int code) {
    Deliver("notify " + Num(id) + " " + Num(code), [&](Dialog& d) { d.OnNotify(id, code); });
    AfterUserAction();
}

void HeadlessHost::FireVScroll(int id, int request, int pos) {
    Deliver("vscroll " + Num(id) + " " + Num(request) + " " + Num(pos),
            [&](Dialog& d) { d.OnVScroll(id, request, pos); });
    AfterUserAction();
}

void HeadlessHost::FireHScroll(int id, int request, int pos) {
    Deliver("hscroll " + Num(id) + " " + Num(request) + " " + Num(pos),
            [&](Dialog& d) { d.OnHScroll(id, request, pos); });
    AfterUserAction();
}

void HeadlessHost::FirePaint() {
    paintPending_ = false;
    Deliver("paint", [](Dialog& d) { d.OnPaint(); });
    AfterUserAction();
}

bool HeadlessHost::FireSysCommand(uint32_t id) {
    bool handled = false;
    Deliver("syscommand " + Num(id), [&](Dialog& d) { handled = d.OnSysCommand(id); });
    if (!handled && IsOpen()) {
        switch (id & 0xFFF0) {
            case kScClose:
                Deliver("close", [](Dialog& d) { d.OnClose(); });
                break;
            case kScMinimize:
                minimised_ = true;
                break;
            case kScRestore:
                minimised_ = false;
                break;
            default:
                break;
        }
    }
    AfterUserAction();
    return handled;
}

void HeadlessHost::FireClose() {
    Deliver("close", [](Dialog& d) { d.OnClose(); });
    AfterUserAction();
}

bool HeadlessHost::FireUser(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    bool handled = false;
    Deliver("user " + Num(message) + " " + Num(static_cast<int64_t>(wParam)) + " " + Num(lParam),
            [&](Dialog& d) { handled = d.OnUser(message, wParam, lParam); });
    AfterUserAction();
    return handled;
}

void HeadlessHost::FireRButtonDblClk(int x, int y) {
    Deliver("rbuttondblclk " + Num(x) + " " + Num(y), [&](Dialog& d) { d.OnRButtonDblClk(x, y); });
    AfterUserAction();
}

}  // namespace vz
