// A tiny dialog for the host's tests: each handler runs what the test plugs in and notes itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/codes.h"
#include "ui/dialog.h"
#include "ui/dialog_host.h"

namespace vz::test {

class ProbeDialog : public Dialog {
  public:
    explicit ProbeDialog(int templateId) : Dialog(templateId) {}
    ~ProbeDialog() override {
        // The base would run OnDestroy as its own; close while this object is whole.
        if (Host() != nullptr) {
            Host()->DestroyWindow();
        }
    }

    std::function<void()> onInit;
    std::function<void(int, int)> onCommand;
    std::function<void(uint32_t)> onTimer;
    std::function<void()> onPaint;
    std::function<bool(uint32_t)> onSysCommand;
    std::function<void()> onClose;
    std::function<bool(uint32_t)> onUser;
    std::vector<std::string> seen;

    bool OnInitDialog() override {
        seen.push_back("init");
        if (onInit) {
            onInit();
        }
        return true;
    }
    void OnCommand(int id, int code) override {
        seen.push_back("command " + std::to_string(id));
        if (onCommand) {
            onCommand(id, code);
        } else {
            Dialog::OnCommand(id, code);
        }
    }
    void OnTimer(uint32_t id) override {
        seen.push_back("timer " + std::to_string(id));
        if (onTimer) {
            onTimer(id);
        }
    }
    void OnPaint() override {
        seen.push_back("paint");
        if (onPaint) {
            onPaint();
        }
    }
    bool OnSysCommand(uint32_t id) override { return onSysCommand && onSysCommand(id); }
    void OnClose() override {
        if (onClose) {
            onClose();
        } else {
            Dialog::OnClose();
        }
    }
    void OnDestroy() override { seen.push_back("destroy"); }
    bool OnUser(uint32_t message, uintptr_t, intptr_t) override {
        seen.push_back("user " + std::to_string(message));
        return onUser && onUser(message);
    }
};

}  // namespace vz::test
