// The Master list on the headless tool: Masters in several domains, and every request the card
// is sent, with its time.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "driver/parameter_list.h"
#include "zazivev/masters/master_list_dialog.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

// Masters in domains 15, 0 and 1; the one in 1 shares the name of the one in 15.
inline constexpr char kMastersScenario[] = R"(
system nt 4
device davuziro 1
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
config station=0 domain=15 roaming=0 security-id=""
calibration 40:200 80:100
master 00a0d4010001 name="Lobby" domain=15 channel=5 subchannel=2 signal=-48
master 00a0d4020001 name="Accounts" domain=0 channel=1 subchannel=1 signal=-58
master 00a0d4020002 name="Lobby" domain=1 channel=3 subchannel=7 signal=-66
timing sync-ms=1200 lock-ms=0 dwell-ms=250 service-us=0
seed 1
)";

// The emulated card, keeping every request sent with its time; `tamper` may change a reply.
class RecordingIo : public EmulatorDeviceIo {
  public:
    struct Sent {
        uint32_t atMs;
        uint32_t command;  // without the card index
        std::vector<uint8_t> data;
    };

    RecordingIo(Emulator& emulator, Clock& clock) : EmulatorDeviceIo(emulator), clock_(clock) {}
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        uint32_t command = 0;
        std::memcpy(&command, out + kRequestCommandOffset, 4);
        command &= 0xFFFFFF;
        const uint8_t* data = out + kRequestDataOffset;
        sent.push_back({clock_.NowMs(), command, std::vector<uint8_t>(data, data + 4)});
        IoControlResult result =
            EmulatorDeviceIo::IoControl(handle, code, in, inSize, out, outSize);
        if (tamper && command == kCmdGetDriverData)
            tamper(out + kRequestDataOffset);
        return result;
    }

    std::vector<Sent> Of(uint32_t command) const {
        std::vector<Sent> found;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(found),
                     [command](const Sent& s) { return s.command == command; });
        return found;
    }

    std::vector<Sent> sent;
    std::function<void(uint8_t* list)> tamper;

  private:
    Clock& clock_;
};

// Overwrites the value of parameter `id` in a returned list.
inline void SetParameter(uint8_t* list, uint16_t id, const std::vector<uint8_t>& value) {
    for (size_t at = 0; list[at] != 0 || list[at + 1] != 0; at += kParameterEntryHeader) {
        const uint16_t entryId = list[at] | list[at + 1] << 8;
        const uint16_t length = list[at + 4] | list[at + 5] << 8;
        if (entryId == id)
            std::memcpy(list + at + kParameterEntryHeader, value.data(), length);
        at += length;
    }
}

class MasterListTest : public ToolTest {
  protected:
    // The tool started with the card's domain stored as `domain`, then the Master list opened.
    void OpenList(int searchMode, int domain = 15, int stationType = 0,
                  std::string scenario = kMastersScenario) {
        InstallAdapter("ISA", stationType);
        const char* key = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";
        test::PutValue(registry, key, "Domain", test::Dword(domain));
        test::PutValue(registry, key, "Route", test::Sz("1"));  // where the domain is written
        StartWithoutOpening(std::move(scenario));
        recorder = std::make_unique<RecordingIo>(*emulator, clock);
        auto openTextFile = context->openTextFile;
        driver = std::make_unique<Driver>(*recorder, clock, cardHost, DriverVariant::kTool);
        context =
            std::make_unique<ToolContext>(*driver, registry, shell, clock, io->GetSystemVersion());
        context->openTextFile = openTextFile;
        dialog = std::make_unique<MainDialog>(*context, cardHost);
        main = &ui.Open(*dialog);
        ui.RunFor(100);
        settings = std::make_unique<AdapterSettings>(registry, context->version);
        settings->Load();
        masters = std::make_unique<MasterListDialog>(*context, *settings, searchMode);
        recorder->sent.clear();
        list = &ui.Open(*masters);
    }

    void CloseList() {
        list->Click(kIdOk);
        ui.Settle();
    }

    std::vector<std::vector<std::string>> Rows() {
        std::vector<std::vector<std::string>> rows;
        for (const ListViewRow& row : list->Control(IDC_MASTERS_LIST).rows)
            rows.push_back(row.texts);
        return rows;
    }

    // The domains StartMasterSearch was sent for, in order.
    std::vector<int> SearchedDomains() {
        std::vector<int> domains;
        for (const RecordingIo::Sent& s : recorder->Of(kCmdStartMasterSearch))
            domains.push_back(s.data.at(2));
        return domains;
    }

    std::vector<bool> MasterButtons() {
        return {list->IsEnabled(IDC_MASTERS_USE_DOMAIN), list->IsEnabled(IDC_MASTERS_TEST_LINK),
                list->IsEnabled(IDC_MASTERS_VIEW_CELL)};
    }

    std::unique_ptr<RecordingIo> recorder;
    std::unique_ptr<MasterListDialog> masters;
    std::unique_ptr<AdapterSettings> settings;
    HeadlessHost* list = nullptr;
};

}  // namespace vz
