// The headless window system's message loop in miniature: posted messages, then paints, then
// timers in time order; modal dialogs answered from the test's script.
#include "ui/headless/headless_ui.h"

#include <limits>
#include <stdexcept>

namespace vz {

HeadlessUi::~HeadlessUi() {
    for (const auto& host : hosts_) {
        if (host->dialog_ != nullptr) {
            DialogBinding::Attach(*host->dialog_, nullptr);
            host->dialog_ = nullptr;
        }
    }
}

void HeadlessUi::DeclareTemplate(int templateId, TemplateSpec spec) {
    templates_[templateId] = std::move(spec);
}

HeadlessHost& HeadlessUi::NewHost(Dialog& dialog, HeadlessHost::Role role, HeadlessHost* owner) {
    auto spec = templates_.find(dialog.TemplateId());
    const TemplateSpec* specPtr = spec == templates_.end() ? nullptr : &spec->second;
    hosts_.push_back(std::make_unique<HeadlessHost>(*this, dialog, role, owner, nextRef_, specPtr));
    nextRef_ += 0x10;
    return *hosts_.back();
}

HeadlessHost& HeadlessUi::Open(Dialog& dialog) {
    if (dialog.Host() != nullptr) {
        throw std::logic_error("dialog " + std::to_string(dialog.TemplateId()) +
                               " already has a window");
    }
    HeadlessHost& host = NewHost(dialog, HeadlessHost::Role::kMain, nullptr);
    host.Log("open");
    host.Create();
    Settle();
    return host;
}

void HeadlessUi::ExpectModal(int templateId, ModalAnswer answer) {
    answers_.push_back({templateId, std::move(answer)});
}

HeadlessUi::Answer HeadlessUi::TakeAnswer(int templateId) {
    if (answers_.empty()) {
        throw std::logic_error("no answer scripted for modal dialog " + std::to_string(templateId));
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    if (answer.templateId != 0 && answer.templateId != templateId) {
        throw std::logic_error("modal dialog " + std::to_string(templateId) + " opened where " +
                               std::to_string(answer.templateId) + " was expected");
    }
    return answer;
}

void HeadlessUi::Log(int templateId, const std::string& event) {
    events_.push_back(std::to_string(templateId) + " " + event);
}

std::vector<HeadlessHost*> HeadlessUi::Windows() {
    std::vector<HeadlessHost*> windows;
    for (const auto& host : hosts_) {
        windows.push_back(host.get());
    }
    return windows;
}

HeadlessHost* HeadlessUi::FindOpen(int templateId) {
    for (auto it = hosts_.rbegin(); it != hosts_.rend(); ++it) {
        if ((*it)->TemplateId() == templateId && (*it)->IsOpen()) {
            return it->get();
        }
    }
    return nullptr;
}

HeadlessHost* HeadlessUi::FindByRef(WindowRef ref) {
    for (const auto& host : hosts_) {
        if (host->ref_ == ref) {
            return host.get();
        }
    }
    return nullptr;
}

void HeadlessUi::Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    posted_.push_back({window, message, wParam, lParam});
}

bool HeadlessUi::PressAccelerator(int commandId) {
    HeadlessHost* target = FindByRef(acceleratorTarget_);
    if (target == nullptr || !target->IsOpen()) {
        Log(target == nullptr ? 0 : target->TemplateId(),
            "accelerator lost " + std::to_string(commandId));
        return false;
    }
    target->FireCommand(commandId, kCodeAccelerator);
    return true;
}

void HeadlessUi::Settle() {
    if (settleHold_ > 0 || settling_) {
        return;
    }
    struct Flag {
        bool& flag;
        explicit Flag(bool& f) : flag(f) { flag = true; }
        ~Flag() { flag = false; }
    } settling(settling_);
    // A paint handler that keeps invalidating its own window would never let the loop idle.
    for (int round = 0; round < 100000; ++round) {
        if (!posted_.empty()) {
            Posted p = posted_.front();
            posted_.pop_front();
            HeadlessHost* host = FindByRef(p.window);
            if (host != nullptr && host->IsOpen()) {
                host->Deliver("user " + std::to_string(p.message) + " " + std::to_string(p.wParam) +
                                  " " + std::to_string(p.lParam),
                              [&](Dialog& d) { d.OnUser(p.message, p.wParam, p.lParam); });
            } else {
                Log(host == nullptr ? 0 : host->TemplateId(), "lost " + std::to_string(p.message));
            }
            continue;
        }
        bool acted = false;
        for (const auto& host : hosts_) {
            if (host->role_ == HeadlessHost::Role::kMain && host->ended_ && host->IsOpen()) {
                host->Destroy();
                acted = true;
                break;
            }
        }
        if (acted) {
            continue;
        }
        for (const auto& host : hosts_) {
            if (host->IsOpen() && host->paintPending_) {
                host->paintPending_ = false;
                host->Deliver("paint", [](Dialog& d) { d.OnPaint(); });
                acted = true;
                break;
            }
        }
        if (!acted) {
            return;
        }
    }
    throw std::logic_error("windows keep invalidating themselves; the loop never idles");
}

void HeadlessUi::ForgetClosed() {
    std::erase_if(hosts_, [](const auto& host) { return host->destroyed_; });
}

bool HeadlessUi::FireDueTimer(uint64_t limit) {
    HeadlessHost* dueHost = nullptr;
    uint32_t dueId = 0;
    const HeadlessHost::TimerState* due = nullptr;
    for (const auto& host : hosts_) {
        if (!host->IsOpen()) {
            continue;
        }
        for (const auto& [id, timer] : host->timers_) {
            if (due == nullptr || timer.due < due->due ||
                (timer.due == due->due && timer.order < due->order)) {
                due = &timer;
                dueHost = host.get();
                dueId = id;
            }
        }
    }
    if (due == nullptr || due->due > limit) {
        return false;
    }
    if (due->due > Now()) {
        clock_.Advance(static_cast<uint32_t>(due->due - Now()));
    }
    HeadlessHost::TimerState& timer = dueHost->timers_[dueId];
    timer.due = Now() + std::max<uint32_t>(timer.period, 10);
    dueHost->FireTimer(dueId);
    return true;
}

void HeadlessUi::RunFor(uint32_t ms) {
    const uint64_t target = Now() + ms;
    Settle();
    while (FireDueTimer(target)) {
    }
    if (Now() < target) {
        clock_.Advance(static_cast<uint32_t>(target - Now()));
    }
}

bool HeadlessUi::RunNextTimer() {
    Settle();
    return FireDueTimer(std::numeric_limits<uint64_t>::max());
}

bool ContainsInOrder(const std::vector<std::string>& events,
                     const std::vector<std::string>& expected) {
    size_t next = 0;
    for (const std::string& event : events) {
        if (next < expected.size() && event == expected[next]) {
            ++next;
        }
    }
    return next == expected.size();
}

}  // namespace vz
