// The tool in the emulated world both programs' tests share, with the help file held in memory, and
// its dialogs opened as the main dialog opens them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "driver/card_control.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "platform/fake/registry_tree.h"
#include "program/tests/emulated_world.h"
#include "program/tests/test_worlds.h"
#include "settings/adapter_settings.h"
#include "ui/codes.h"
#include "ui/headless/rc_template.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/config/configuration_dialog.h"
#include "zazivev/masters/master_list_dialog.h"
#include "zazivev/res/resource.h"
#include "zazivev/res/strings.h"
#include "zazivev/shell/main_dialog.h"
#include "zazivev/shell/tool_card_host.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"
#include "zazivev/survey/survey_scroll.h"

namespace vz {

// A card that synchronises at once to the Master "Lobby" of its domain.
inline const std::string kQuickScenario =
    kCard + R"(config station=0 domain=3 roaming=0 security-id=""
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48
timing sync-ms=0 service-us=0
seed 1
)";

// The tool's windows as its resource scripts define them.
inline const RcTemplates& ToolTemplates() {
    static const RcTemplates kTemplates = RcTemplates::Load(
        {ZAZIVEV_RES_DIR "/resource.h", ZAZIVEV_RES_DIR "/strings.h"},
        {ZAZIVEV_RES_DIR "/zazivev.rc", ZAZIVEV_RES_DIR "/config.rc", ZAZIVEV_RES_DIR "/masters.rc",
         ZAZIVEV_RES_DIR "/survey.rc", ZAZIVEV_RES_DIR "/snoop.rc"});
    return kTemplates;
}

// The texts of controls `ids`, in order.
inline std::vector<std::string> Texts(HeadlessHost& host, std::initializer_list<int> ids) {
    std::vector<std::string> texts;
    for (int id : ids) {
        texts.push_back(host.GetItemText(id));
    }
    return texts;
}

class ToolTest : public EmulatedWorldTest {
  protected:
    ToolTest() { ToolTemplates().DeclareAll(ui); }

    // Starts the tool on the world of `scenario`.
    void Start(std::string scenario = kQuickScenario) {
        StartWithoutOpening(std::move(scenario));
        main = &ui.Open(*dialog);
    }

    void StartWithoutOpening(std::string scenario) {
        ASSERT_NO_FATAL_FAILURE(BuildWorld(scenario));
        WireDriver(Device(), cardHost, DriverVariant::kTool);
        context = std::make_unique<ToolContext>(Program());
        context->openTextFile = [this](const std::string& path) -> std::unique_ptr<std::istream> {
            return files.count(path) == 0 ? nullptr
                                          : std::make_unique<std::istringstream>(files.at(path));
        };
        dialog = std::make_unique<MainDialog>(*context, cardHost);
    }

    // The card's device calls; a test may wrap them.
    virtual DeviceIo& Device() { return *io; }

    // The driver opened and, when `initCard`, the card initialised, as the start-up check leaves
    // them; then the adapter's settings read as the main dialog lends them.
    void PrepareCard(bool initCard = true) {
        uint8_t sync = 0;
        ASSERT_EQ(OpenDriver(*driver), 0);
        ASSERT_EQ(initCard ? InitCard(*driver, sync, 0, 0) : Status::kOk, Status::kOk);
        settings = std::make_unique<AdapterSettings>(registry, context->version);
        settings->Load();
    }

    // The adapter's NT parameters key, as the driver's setup leaves it.
    void InstallAdapter(const std::string& cardType = "PCMCIA", int stationType = 0) {
        test::PutValue(registry, kParameters, "Master_Name", test::Sz("MASTER"));
        test::PutValue(registry, kParameters, "CardType", test::Sz(cardType));
        test::PutValue(registry, kParameters, "Station_Type", test::Dword(stationType));
        test::PutValue(registry, kParameters, "Inactivity_Min", test::Dword(2));
        test::PutValue(registry, kParameters, "Inactivity_Sec", test::Dword(15));
        test::PutValue(registry, "System\\CurrentControlSet\\Services\\davuziro", "Start",
                       test::Dword(1));
    }

    std::string Report() { return main->GetItemText(IDC_MAIN_REPORT); }

    // `window`'s Copy Figures, as the clipboard holds them: rows of cells.
    std::vector<std::vector<std::string>> CopiedFigures(HeadlessHost& window) {
        EXPECT_EQ(window.SystemMenu().back().text, "Copy Figures");
        EXPECT_TRUE(window.FireSysCommand(IDM_COPY_FIGURES + 3));
        std::vector<std::vector<std::string>> rows;
        std::istringstream lines(shell.Clipboard());
        for (std::string line; std::getline(lines, line, '\n');) {
            EXPECT_EQ(line.back(), '\r');
            line.pop_back();
            std::vector<std::string>& cells = rows.emplace_back(1);
            for (char c : line) {
                if (c == '\t') {
                    cells.emplace_back();
                } else {
                    cells.back().push_back(c);
                }
            }
        }
        return rows;
    }
    bool Enabled(int id) { return main->Control(id).enabled; }

    ToolCardHost cardHost{shell};
    std::unique_ptr<ToolContext> context;
    std::unique_ptr<MainDialog> dialog;
    std::unique_ptr<AdapterSettings> settings;
    HeadlessHost* main = nullptr;
    std::map<std::string, std::string> files;
};

class ConfigTest : public ToolTest {
  protected:
    // Opens Configuration over the adapter's stored settings, after a start-up check's InitCard
    // when `initCard`.
    void OpenConfiguration(const std::string& scenario = kQuickScenario, bool initCard = true) {
        StartWithoutOpening(scenario);
        ASSERT_NO_FATAL_FAILURE(PrepareCard(initCard));
        requestsBefore = Requests();
        config = std::make_unique<ConfigurationDialog>(*context, *settings);
        window = &ui.Open(*config);
    }

    uint64_t Requests() const {
        const auto& counts = emulator->Counters().requests;
        return std::accumulate(counts.begin(), counts.end(), uint64_t{0});
    }
    uint64_t RequestsSinceOpening() const { return Requests() - requestsBefore; }
    std::string Selected(int id) { return window->ComboSelectedText(id); }
    void Store(const char* name, uint32_t value) {
        test::PutValue(registry, kParameters, name, test::Dword(value));
    }
    std::optional<test::TestValue> Stored(const char* name) {
        return test::GetValue(registry, kParameters, name);
    }

    std::unique_ptr<ConfigurationDialog> config;
    HeadlessHost* window = nullptr;
    uint64_t requestsBefore = 0;
};

class SurveyTest : public ToolTest {
  protected:
    // The card initialised on `scenario`, as the main dialog leaves it.
    void Begin(std::string scenario = kSurveyScenario) {
        StartWithoutOpening(std::move(scenario));
        InstallAdapter();
        test::PutValue(registry, kParameters, "Domain", test::Dword(3));
        ASSERT_NO_FATAL_FAILURE(PrepareCard());
    }

    // The survey opened on `scenario`, after `cycles` cycles.
    void Survey(int cycles, const std::string& scenario = kSurveyScenario) {
        Begin(scenario);
        survey = std::make_unique<SiteSurveyDialog>(*context, *settings, 1);
        host = &ui.Open(*survey);
        RunCycles(*host, cycles);
    }

    // The link test opened on its own, on the card initialised on the survey's world.
    HeadlessHost& OpenLink(const std::string& address, int packetSize = 1500) {
        Begin();
        link = std::make_unique<DirectedLinkDialog>(*context, address, packetSize);
        return ui.Open(*link);
    }

    // Lets `n` survey cycles pass (each ends when the echo timer stops).
    void RunCycles(HeadlessHost& host, int n) {
        for (int done = 0, fired = 0; done < n; ++fired) {
            ASSERT_LT(fired, 100 * n) << "no cycle ends";
            const bool echoWait = host.HasTimer(2);
            ASSERT_TRUE(ui.RunNextTimer());
            done += echoWait && !host.HasTimer(2);
        }
    }

    std::unique_ptr<SiteSurveyDialog> survey;
    std::unique_ptr<DirectedLinkDialog> link;
    HeadlessHost* host = nullptr;
};

// Masters in domains 15, 0 and 1; the one in 1 shares the name of the one in 15.
inline const std::string kMastersScenario =
    kCard + R"(config station=0 domain=15 roaming=0 security-id=""
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
        if (tamper && command == kCmdGetDriverData) {
            tamper(out + kRequestDataOffset);
        }
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
        if (entryId == id) {
            std::memcpy(list + at + kParameterEntryHeader, value.data(), length);
        }
        at += length;
    }
}

class MasterListTest : public ToolTest {
  protected:
    DeviceIo& Device() override {
        recorder = std::make_unique<RecordingIo>(*emulator, clock);
        return *recorder;
    }

    // The tool started with the card's domain stored as `domain`, then the Master list opened.
    void OpenList(int searchMode, int domain = 15, int stationType = 0,
                  std::string scenario = kMastersScenario) {
        InstallAdapter("ISA", stationType);
        test::PutValue(registry, kParameters, "Domain", test::Dword(domain));
        test::PutValue(registry, kParameters, "Route",
                       test::Sz("1"));  // where the domain goes
        Start(std::move(scenario));
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
        for (const ListViewRow& row : list->Control(IDC_MASTERS_LIST).rows) {
            rows.push_back(row.texts);
        }
        return rows;
    }

    // The domains StartMasterSearch was sent for, in order.
    std::vector<int> SearchedDomains() {
        std::vector<int> domains;
        for (const RecordingIo::Sent& s : recorder->Of(kCmdStartMasterSearch)) {
            domains.push_back(s.data.at(2));
        }
        return domains;
    }

    std::vector<bool> MasterButtons() {
        return {list->IsEnabled(IDC_MASTERS_USE_DOMAIN), list->IsEnabled(IDC_MASTERS_TEST_LINK),
                list->IsEnabled(IDC_MASTERS_VIEW_CELL)};
    }

    std::unique_ptr<RecordingIo> recorder;
    std::unique_ptr<MasterListDialog> masters;
    HeadlessHost* list = nullptr;
};

}  // namespace vz
