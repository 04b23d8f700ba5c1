// The Configuration dialog and the dialogs it opens on the headless window system, over the
// in-process emulated card with every request recorded.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver/card_control.h"
#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "zazivev/config/configuration_dialog.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

// Forwards to the emulated card and keeps each request block's command and data.
class RecordingDeviceIo : public DeviceIo {
  public:
    struct Request {
        uint32_t command = 0;
        std::vector<uint8_t> data;
    };

    explicit RecordingDeviceIo(DeviceIo& inner) : inner_(inner) {}
    SystemVersion GetSystemVersion() override { return inner_.GetSystemVersion(); }
    DeviceHandle OpenDevice(const char* path) override { return inner_.OpenDevice(path); }
    void CloseDevice(DeviceHandle handle) override { inner_.CloseDevice(handle); }
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override {
        return inner_.DefineDosDevice(flags, name, target);
    }
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        const uint32_t length = GetU32(out + kRequestLengthOffset);
        const uint8_t* data = out + kRequestDataOffset;
        requests.push_back({GetU32(out + kRequestCommandOffset),
                            std::vector<uint8_t>(data, data + std::min<size_t>(length, 2000))});
        return inner_.IoControl(handle, code, in, inSize, out, outSize);
    }

    std::vector<Request> Sent(uint32_t command) const {
        std::vector<Request> found;
        for (const Request& r : requests) {
            if (r.command == command) {
                found.push_back(r);
            }
        }
        return found;
    }

    std::vector<Request> requests;

  private:
    DeviceIo& inner_;
};

// The entries of a parameter list as sent, by id; the status words are not looked at.
inline std::map<uint16_t, std::vector<uint8_t>> SentParameters(const std::vector<uint8_t>& list) {
    std::map<uint16_t, std::vector<uint8_t>> entries;
    size_t o = 0;
    while (o + kParameterEntryHeader <= list.size()) {
        const uint16_t id = GetU16(list.data() + o);
        const size_t end = o + kParameterEntryHeader + ParameterLength(id);
        if (id == 0 || end > list.size()) {
            break;
        }
        entries[id].assign(list.begin() + o + kParameterEntryHeader, list.begin() + end);
        o = end;
    }
    return entries;
}

class ConfigTest : public ToolTest {
  protected:
    // The tool with the adapter installed as `edit` leaves it, the card initialised by a
    // start-up check's InitCard, and the Configuration dialog open with the loaded settings.
    void OpenConfiguration(const std::string& scenario = kQuickScenario, bool initCard = true) {
        StartWithoutOpening(scenario);
        recorder = std::make_unique<RecordingDeviceIo>(*io);
        driver = std::make_unique<Driver>(*recorder, clock, cardHost, DriverVariant::kTool);
        context =
            std::make_unique<ToolContext>(*driver, registry, shell, clock, io->GetSystemVersion());
        context->openTextFile = [this](const std::string&) -> std::unique_ptr<std::istream> {
            return std::make_unique<std::istringstream>(helpFile);
        };
        ASSERT_EQ(OpenDriver(*driver), 0);
        if (initCard) {
            uint8_t sync = 0;
            ASSERT_EQ(InitCard(*driver, sync, 0, 0), 0);
        }
        settings = std::make_unique<AdapterSettings>(registry, context->version);
        settings->Load();
        recorder->requests.clear();
        config = std::make_unique<ConfigurationDialog>(*context, *settings);
        window = &ui.Open(*config);
    }

    std::string Selected(int id) { return window->ComboSelectedText(id); }

    static constexpr char kParameters[] =
        "System\\CurrentControlSet\\Services\\davuziro\\Parameters";

    std::unique_ptr<RecordingDeviceIo> recorder;
    std::unique_ptr<AdapterSettings> settings;
    std::unique_ptr<ConfigurationDialog> config;
    HeadlessHost* window = nullptr;
    std::string helpFile;
};

}  // namespace vz
