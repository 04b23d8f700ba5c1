// The site survey and the link test on the headless host against the in-process emulator.
#pragma once

#include <memory>
#include <string>

#include "driver/card_control.h"
#include "settings/adapter_settings.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"
#include "zazivev/survey/survey_scroll.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

// The Master, four nodes (one answering late), and a stronger Master the card roams to when Lobby
// goes quiet.
inline constexpr char kSurveyScenario[] = R"(
system nt 4
device davuziro 1
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
config station=0 domain=3 roaming=0 security-id=""
calibration 40:200 80:100
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48 latency=2 spread=0
master 00a0d4010002 name="Annex" domain=3 channel=7 subchannel=1 signal=-60 latency=2 spread=0
node 00a0d41000AB signal=-44 latency=7 spread=0
node 00a0d4100003 signal=-64 latency=20 spread=3
node 00a0d4100002 signal=-70 answer=0.5 latency=3 spread=1
node 00a0d4100004 signal=-50 latency=300 spread=0
timing sync-ms=0 lock-ms=0 service-us=0 signal-noise-db=0
seed 7
)";

class SurveyTest : public ToolTest {
  protected:
    // The card initialised on `scenario`, as the main dialog leaves it.
    void Begin(std::string scenario = kSurveyScenario) {
        StartWithoutOpening(std::move(scenario));
        InstallAdapter();
        test::PutValue(registry, "System\\CurrentControlSet\\Services\\davuziro\\Parameters",
                       "Domain", test::Dword(3));
        settings = std::make_unique<AdapterSettings>(registry, context->version);
        settings->Load();
        ASSERT_EQ(OpenDriver(*driver), 0);
        uint8_t sync = 0;
        ASSERT_EQ(InitCard(*driver, sync, 0, 0), 0);
    }

    HeadlessHost& OpenSurvey() {
        survey = std::make_unique<SiteSurveyDialog>(*context, *settings, 1);
        return ui.Open(*survey);
    }

    HeadlessHost& OpenLink(const std::string& address, int packetSize = 1500) {
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

    std::unique_ptr<AdapterSettings> settings;
    std::unique_ptr<SiteSurveyDialog> survey;
    std::unique_ptr<DirectedLinkDialog> link;
};

}  // namespace vz
