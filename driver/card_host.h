// What the driver layer asks of the program around it: the status window, mouse input, the beep.
#pragma once

#include <cstdint>

namespace vz {

class CardHost {
  public:
    virtual ~CardHost() = default;

    // A modeless window with one line of text, shown while the card is re-initialised.
    virtual void OpenStatusWindow(const char* text) = 0;
    virtual void CloseStatusWindow() = 0;
    // Takes one pending mouse message (0x200..0x209) off the queue and dispatches it, if any.
    virtual void DispatchOneMouseMessage() = 0;
    virtual void Beep(uint32_t frequency, uint32_t durationMs) = 0;
};

// For programs and tests that need none of it.
class NullCardHost : public CardHost {
  public:
    void OpenStatusWindow(const char*) override {}
    void CloseStatusWindow() override {}
    void DispatchOneMouseMessage() override {}
    void Beep(uint32_t, uint32_t) override {}
};

}  // namespace vz
