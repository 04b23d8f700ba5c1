// Base of every dialog: its template id, its host, and handlers named after the messages they
// answer.
#pragma once

#include <cstdint>

namespace vz {

class DialogHost;

class Dialog {
  public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    // A window still open (a modeless one) is destroyed with the object. OnDestroy then runs as
    // the base's, so a dialog that needs its own must close the window in its own destructor.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return templateId_; }
    // The window's host from creation to destruction; null before and after.
    DialogHost* Host() const { return host_; }

    // True lets the dialog manager place the focus; false when the handler placed it.
    virtual bool OnInitDialog() { return true; }
    // The default ends the dialog with the id for OK and Cancel clicks and does nothing else.
    virtual void OnCommand(int id, int code);
    virtual void OnTimer(uint32_t id) {}
    virtual void OnNotify(int id, int code) {}
    // `id` is the control that scrolled (0 for the window's own bars); `pos` matters only for
    // the thumb requests.
    virtual void OnVScroll(int id, int request, int pos) {}
    virtual void OnHScroll(int id, int request, int pos) {}
    virtual void OnPaint() {}
    // True when handled; otherwise the system's default (move, minimise, close ...) follows.
    virtual bool OnSysCommand(uint32_t id) { return false; }
    // The close box, Alt+F4 or the system menu's Close; the default issues Cancel.
    virtual void OnClose();
    virtual void OnDestroy() {}
    // Messages from kWmUser up (private ones and registered ones). True when handled.
    virtual bool OnUser(uint32_t message, uintptr_t wParam, intptr_t lParam) { return false; }
    // On the dialog's own surface, not on a control; client coordinates.
    virtual void OnRButtonDblClk(int x, int y) {}

  private:
    friend class DialogBinding;
    const int templateId_;
    DialogHost* host_ = nullptr;
};

// What the hosts use to tie a dialog to its window; nothing else touches it.
class DialogBinding {
  public:
    static void Attach(Dialog& dialog, DialogHost* host) { dialog.host_ = host; }
};

}  // namespace vz
