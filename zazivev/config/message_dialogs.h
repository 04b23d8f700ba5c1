// The small dialogs other places use to ask or tell the user something.
#pragma once

#include <string>

#include "ui/dialog.h"

namespace vz {

// "Update to Domain %d?" with Yes and No.
class ChangeDomainDialog : public Dialog {
  public:
    explicit ChangeDomainDialog(int domain);
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;

    // Whether the user answered Yes, once the dialog has ended.
    bool Confirmed() const { return confirmed_; }

  private:
    const int domain_;
    bool confirmed_ = false;
};

// A two-line error: a title line and a text of up to six wrapped lines.
class ErrorDialog : public Dialog {
  public:
    ErrorDialog(std::string title, std::string text);
    bool OnInitDialog() override;

    const std::string title;
    const std::string text;
};

// The modeless "please wait" window; it has no buttons and reacts to nothing.
class StatusDialog : public Dialog {
  public:
    explicit StatusDialog(std::string text);
    bool OnInitDialog() override;

    const std::string text;
};

}  // namespace vz
