// What a dialog may do to its window, addressed by control id; the Win32 and headless hosts serve
// it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/shell.h"
#include "ui/canvas.h"

namespace vz {

class Dialog;

// Told around each message a dwell pump dispatches, so the dialog can stop its timer meanwhile.
class PumpListener {
  public:
    enum class Kind { kMouse, kPaint };
    virtual ~PumpListener() = default;
    virtual void BeforeDispatch(Kind kind) {}
    virtual void AfterDispatch(Kind kind) {}
};

// Operations on a control id the window does not have do nothing and read as empty, 0 or -1.
class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // The window itself, for the shell (tray entries, posted messages).
    virtual WindowRef Window() = 0;

    // --- Texts and states of controls
    virtual void SetItemText(int id, std::string_view text) = 0;
    virtual std::string GetItemText(int id) = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual void ShowItem(int id, bool show) = 0;
    virtual void SetFocus(int id) = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) = 0;
    // Checks `checkedId` and clears the other radio buttons firstId..lastId.
    virtual void CheckRadio(int firstId, int lastId, int checkedId) = 0;
    // Most characters the user can type into an edit box; texts set by the program are not cut.
    virtual void SetEditLimit(int id, int maxChars) = 0;
    // Turns a push button into a picture button sized to its bitmaps (named resources): `up`
    // normally, `down` while pressed. False, the button left as it was, when either is missing.
    virtual bool SetButtonBitmaps(int id, std::string_view up, std::string_view down) = 0;

    // --- Combo boxes (drop-down lists). Indices from 0; -1 is no selection.
    virtual void ComboReset(int id) = 0;
    // Appends; returns the item's index.
    virtual int ComboAdd(int id, std::string_view text) = 0;
    virtual int ComboCount(int id) = 0;
    // An index outside the list clears the selection.
    virtual void ComboSelect(int id, int index) = 0;
    // Selects the item whose text is exactly `text` (case-sensitive); false, selection left
    // unchanged, when there is none.
    virtual bool ComboSelectText(int id, std::string_view text) = 0;
    virtual int ComboSelectedIndex(int id) = 0;
    virtual std::string ComboSelectedText(int id) = 0;

    // --- List boxes, the same way (an index outside the list clears the selection too).
    virtual void ListBoxReset(int id) = 0;
    virtual int ListBoxAdd(int id, std::string_view text) = 0;
    virtual int ListBoxCount(int id) = 0;
    virtual void ListBoxSelect(int id, int index) = 0;
    virtual bool ListBoxSelectText(int id, std::string_view text) = 0;
    virtual int ListBoxSelectedIndex(int id) = 0;
    virtual std::string ListBoxSelectedText(int id) = 0;
    // Scrolls so that item `index` is the first one shown.
    virtual void ListBoxSetTopIndex(int id, int index) = 0;

    // --- List views (report style). Rows from 0.
    virtual void ListViewAddColumn(int id, int column, std::string_view heading,
                                   int widthPixels) = 0;
    // Inserts a row whose first column is `text`; returns its index, -1 on failure.
    virtual int ListViewInsertRow(int id, int row, std::string_view text, intptr_t data) = 0;
    virtual void ListViewSetText(int id, int row, int column, std::string_view text) = 0;
    virtual intptr_t ListViewRowData(int id, int row) = 0;
    // The first selected row, -1 when none.
    virtual int ListViewSelectedRow(int id) = 0;
    virtual void ListViewClearSelection(int id) = 0;

    // --- Progress bars, track bars, scroll bar controls.
    virtual void ProgressSetRange(int id, int low, int high) = 0;
    virtual void ProgressSetPos(int id, int pos) = 0;
    virtual void TrackBarSetRange(int id, int low, int high) = 0;
    // Adds a tick mark at `pos` (the ends of the range have theirs anyway).
    virtual void TrackBarSetTick(int id, int pos) = 0;
    // The control keeps the position within its range.
    virtual void TrackBarSetPos(int id, int pos) = 0;
    virtual int TrackBarGetPos(int id) = 0;
    virtual void ScrollBarSetRange(int id, int low, int high) = 0;
    // The control keeps the position within its range.
    virtual void ScrollBarSetPos(int id, int pos) = 0;
    virtual int ScrollBarGetPos(int id) = 0;

    // --- The window as a whole.
    virtual void SetCaption(std::string_view text) = 0;
    virtual void Show(bool visible) = 0;
    virtual void BringToForeground() = 0;
    virtual bool IsMinimised() = 0;
    // Sets the big and the small icon to an icon of the program's resources.
    virtual void SetIcon(int iconResourceId) = 0;
    // Size in pixels of a standard (big) icon.
    virtual int IconWidth() = 0;
    virtual int IconHeight() = 0;
    // Asks for a paint of control `id`, or of the dialog itself when `id` is 0.
    virtual void Invalidate(int id, bool erase) = 0;
    // Draws onto control `id`, or onto the dialog itself when `id` is 0; null when there is no
    // such control.
    virtual std::unique_ptr<Canvas> OpenCanvas(int id) = 0;

    // --- System menu.
    // Appends a separator and then the item.
    virtual void SystemMenuAppend(uint32_t commandId, std::string_view text) = 0;
    virtual int SystemMenuCount() = 0;
    // The text of the item at `position` (up to 256 characters); empty for separators.
    virtual std::string SystemMenuText(int position) = 0;
    virtual void SystemMenuGrey(int position) = 0;

    // --- Timers. SetTimer (re)starts timer `id`; returns the id, 0 when it failed.
    virtual uint32_t SetTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void KillTimer(uint32_t id) = 0;

    // --- Busy with the driver: mouse captured to this window with the hour-glass, and back.
    virtual void CaptureWithWaitCursor() = 0;
    virtual void ReleaseWithArrowCursor() = 0;

    // --- Other dialogs and the end of this one.
    // Runs `child` modally, owned by this window; returns the code it ended with (-1 when its
    // window could not be created).
    virtual int RunModal(Dialog& child) = 0;
    // Creates `child` as a modeless window owned by this one, visible at once. It lives until
    // its own host's DestroyWindow, or until the child object is destroyed.
    virtual bool OpenModeless(Dialog& child) = 0;
    // Ends a modal run with `code` once the current handler returns.
    virtual void EndDialog(int code) = 0;
    // Destroys the window now (modeless windows).
    virtual void DestroyWindow() = 0;
    // From now on the program's accelerator keys reach this window as commands with code
    // kCodeAccelerator.
    virtual void MakeAcceleratorTarget() = 0;

    // --- Messages inside long waits.
    // Removes one mouse message waiting for any window of this thread (a sub-dialog waiting on
    // the card keeps its own clicks alive this way) and dispatches it; false when none waits.
    virtual bool PumpMouseMessage() = 0;
    // One round of a dwell: a waiting mouse message, or else a waiting paint, of this window is
    // removed and dispatched, with `listener` told around it. A waiting key-down stays queued for
    // the dialog's own key handling; its virtual key is returned (0 when none waits).
    virtual int PumpDwellMessages(PumpListener& listener) = 0;
};

}  // namespace vz
