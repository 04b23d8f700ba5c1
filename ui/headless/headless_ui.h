// The headless window system: windows, virtual time for their timers, scripted modal dialogs,
// posted messages and the log of what was delivered, for tests of dialogs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/virtual_clock.h"
#include "platform/shell.h"
#include "ui/dialog.h"
#include "ui/headless/control_state.h"
#include "ui/headless/headless_host.h"

namespace vz {

enum class CursorShape { kArrow, kWait };

class HeadlessUi {
  public:
    using ModalAnswer = std::function<void(Dialog&, HeadlessHost&)>;

    explicit HeadlessUi(VirtualClock& clock) : clock_(clock) {}
    // Dialogs still attached are let go without their handlers running.
    ~HeadlessUi();
    HeadlessUi(const HeadlessUi&) = delete;
    HeadlessUi& operator=(const HeadlessUi&) = delete;

    // Initial captions and states of a template's controls (and its caption); see TemplateSpec.
    void DeclareTemplate(int templateId, TemplateSpec spec);

    // Creates the program's main dialog, as its top-level modal run would, and initialises it.
    // Once it ends, its window is destroyed when the handler that ended it returns.
    HeadlessHost& Open(Dialog& dialog);

    // Queues the answer for the next modal dialog any window runs; the answer gets the dialog
    // and its host right after initialisation and must end it (a template id of 0 takes any
    // dialog). A modal run finding no answer, another template, or its dialog still open after
    // the answer, throws std::logic_error.
    void ExpectModal(int templateId, ModalAnswer answer);
    size_t PendingAnswers() const { return answers_.size(); }

    // Lets `ms` of virtual time pass, firing each timer of every open window when it falls
    // due, in time order (window system rules: a tick the handler overran comes once, late).
    void RunFor(uint32_t ms);
    // Moves the clock to the earliest due timer and fires it; false when no timer runs.
    bool RunNextTimer();
    // A message posted to a window (from a worker thread, say): delivered before paints and
    // timers; one posted to a window that is gone is lost, and logged as such.
    void Post(WindowRef window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Whether picture buttons find their bitmaps in the resources (they do unless told).
    void SetBitmapsAvailable(bool available) { bitmapsAvailable_ = available; }
    // An accelerator key: its command goes to the window registered as target, if still open.
    bool PressAccelerator(int commandId);
    // Delivers posted messages, finishes ended main dialogs and paints invalidated windows.
    void Settle();
    // Frees the windows already destroyed, so that a long run opening many keeps its memory
    // flat; references to those windows are invalid afterwards.
    void ForgetClosed();

    // "<template> <event> <arguments>" lines, in the order things happened.
    const std::vector<std::string>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }
    std::vector<HeadlessHost*> Windows();
    // The most recently created open window with that template, or null.
    HeadlessHost* FindOpen(int templateId);
    HeadlessHost* FindByRef(WindowRef ref);
    WindowRef CaptureWindow() const { return capture_; }
    CursorShape Cursor() const { return cursor_; }
    WindowRef Foreground() const { return foreground_; }
    WindowRef AcceleratorTarget() const { return acceleratorTarget_; }
    VirtualClock& Clock() { return clock_; }

  private:
    friend class HeadlessHost;
    struct Answer {
        int templateId = 0;
        ModalAnswer answer;
    };
    struct Posted {
        WindowRef window = 0;
        uint32_t message = 0;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
    };

    HeadlessHost& NewHost(Dialog& dialog, HeadlessHost::Role role, HeadlessHost* owner);
    Answer TakeAnswer(int templateId);
    void Log(int templateId, const std::string& event);
    uint64_t Now() const { return clock_.NowMs(); }
    bool FireDueTimer(uint64_t limit);

    VirtualClock& clock_;
    std::map<int, TemplateSpec> templates_;
    std::vector<std::unique_ptr<HeadlessHost>> hosts_;
    std::deque<Answer> answers_;
    std::deque<Posted> posted_;
    std::vector<std::string> events_;
    WindowRef nextRef_ = 0x10000;
    uint64_t timerOrder_ = 0;
    WindowRef capture_ = 0;
    WindowRef foreground_ = 0;
    WindowRef acceleratorTarget_ = 0;
    CursorShape cursor_ = CursorShape::kArrow;
    int settleHold_ = 0;  // inside a dwell pump, only the pump decides what is dispatched
    bool settling_ = false;
    bool bitmapsAvailable_ = true;
};

// True when `expected` occurs in `events` in this order, other events allowed in between.
bool ContainsInOrder(const std::vector<std::string>& events,
                     const std::vector<std::string>& expected);

}  // namespace vz
