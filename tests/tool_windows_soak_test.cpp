// The tool's windows under faults: the Master list, the site survey with link tests from its
// rows, Snoop and Configuration each run from the main window's button for many ticks of their
// timers (Configuration, which has none, for many rounds of Get Settings and OK) while faults of
// every kind fire at random. After each, with the faults cleared, the tool reports the card's
// true state again, and device handles, registry keys and heap are back where they started.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "program/tests/emulated_world.h"
#include "tests/soak_support.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

// Ticks of each window with a timer; VZ_SOAK_TICKS asks for a longer run.
uint64_t WindowTicks() {
    const char* ticks = std::getenv("VZ_SOAK_TICKS");
    return ticks != nullptr ? std::strtoull(ticks, nullptr, 10) : 25000;
}
// Configuration has no timer: each of its ticks is a round of Get Settings and OK.
constexpr uint64_t kConfigurationRounds = 2000;
constexpr uint64_t kActEvery = 2500;  // ticks between the user's clicks in a window
constexpr uint64_t kLinkTestTicks = 400;
constexpr uint32_t kRecoverMs = 60000;
constexpr uint32_t kReopenMs = 1000;

class ToolWindowsSoak : public EmulatedWorldTest {
  protected:
    // What the user does in a window at its `n`th click.
    using Act = std::function<void(HeadlessHost& window, uint64_t n)>;
    struct Window {
        const char* name;
        int button;
        int templateId;
        uint64_t ticks;
        Act act;
    };

    void SetUp() override {
        ToolTemplates().DeclareAll(ui);
        BuildWorld(DefaultWorldText());
        InstallDefaultAdapter(registry);
        session = std::make_unique<CountedSession>(*emulator);
        randomFaults = std::make_unique<RandomFaults>(*emulator, 20261207);
        WireDriver(*session, cardHost, DriverVariant::kTool);
        context = std::make_unique<ToolContext>(Program());
        dialog = std::make_unique<MainDialog>(*context, cardHost);
        main = &ui.Open(*dialog);
        ui.RunFor(kRecoverMs);
    }

    // Runs `window` from the main window for `ticks` of its timers, faults firing. A window that
    // closed, or that a dropped channel left with nothing to show, is opened again, as a user
    // then does.
    void Run(const Window& window, uint64_t ticks) {
        for (uint64_t n = 0; n < ticks && !HasFatalFailure();) {
            ASSERT_NO_FATAL_FAILURE(FindCardAgain(window.button));
            ui.ExpectModal(window.templateId, [&](Dialog&, HeadlessHost& host) {
                const uint64_t drops = emulator->Faults().Fired(FaultKind::kDrop);
                while (n < ticks && !host.Ended() &&
                       emulator->Faults().Fired(FaultKind::kDrop) == drops && !HasFatalFailure()) {
                    ++n;
                    ASSERT_NO_FATAL_FAILURE(randomFaults->Tick());
                    if (n % kActEvery == 0) {
                        window.act(host, n / kActEvery);
                    } else if (!ui.RunNextTimer()) {
                        window.act(host, 0);  // a window without timers moves only when clicked
                    }
                    Tidy();
                }
                if (!host.Ended()) {
                    host.PressEscape();
                }
            });
            main->Click(window.button);
            ASSERT_EQ(ui.PendingAnswers(), 0u) << "the window did not open";
            ui.RunFor(kReopenMs);  // the main window's check runs before the next click
            Tidy();
        }
    }

    // Waits for the main window's check to enable `button`. A pass that lost the channel while
    // initialising the card starts again only when Configuration closes, so a user opens and
    // closes it.
    void FindCardAgain(int button) {
        for (uint32_t waited = 0; !main->IsEnabled(button); waited += kReopenMs) {
            ASSERT_LT(waited, kRecoverMs) << "the tool did not find the card again";
            if (main->IsEnabled(IDC_MAIN_CONFIGURATION)) {
                ui.ExpectModal(IDD_CONFIGURATION, [](Dialog&, HeadlessHost& configuration) {
                    configuration.PressEscape();
                });
                main->Click(IDC_MAIN_CONFIGURATION);
            }
            ui.RunFor(kReopenMs);
        }
    }

    // Faults cleared and a minute of the main window's checks, which find the card again.
    void Recover() {
        ASSERT_EQ(emulator->Control("fault clear"), "OK");
        ui.RunFor(kRecoverMs);
        Tidy();
    }

    // What the test world records for tests to read, and the closed windows, let go: nothing
    // the soak's checks do not need grows with the ticks.
    void Tidy() {
        shell.ClearRecords();
        ui.ClearEvents();
        ui.ForgetClosed();
    }

    // A link test from the first row the survey shows, run a while and closed.
    void TestLinkFromSurvey(HeadlessHost& survey) {
        if (!survey.Control(IDC_SURVEY_LINK_TEST).visible) {
            return;
        }
        ui.ExpectModal(IDD_DIRECTED_LINK, [this](Dialog&, HeadlessHost& link) {
            for (uint64_t n = 0; n < kLinkTestTicks && ui.RunNextTimer(); ++n) {
                ASSERT_NO_FATAL_FAILURE(randomFaults->Tick());
            }
            link.PressEscape();
        });
        survey.Click(IDC_SURVEY_LINK_TEST);
    }

    ToolCardHost cardHost{shell};
    std::unique_ptr<CountedSession> session;
    std::unique_ptr<ToolContext> context;
    std::unique_ptr<MainDialog> dialog;
    HeadlessHost* main = nullptr;
    std::unique_ptr<RandomFaults> randomFaults;
};

TEST_F(ToolWindowsSoak, EachWindowComesBackWithNothingLeft) {
    const Window windows[] = {
        {"Master list", IDC_MAIN_MASTERS, IDD_MASTER_LIST, WindowTicks(),
         [](HeadlessHost& list, uint64_t n) {
             list.Click(n % 2 ? IDC_MASTERS_SEARCH_ONE : IDC_MASTERS_SEARCH_ALL);
         }},
        {"site survey", IDC_MAIN_SITE_SURVEY, IDD_SITE_SURVEY, WindowTicks(),
         [this](HeadlessHost& survey, uint64_t n) {
             if (n > 0) {
                 TestLinkFromSurvey(survey);
             }
         }},
        {"Snoop", IDC_MAIN_SNOOP, IDD_SNOOP, WindowTicks(),
         [](HeadlessHost& snoop, uint64_t n) {
             snoop.Click(n % 2 ? IDC_SNOOP_SLOW : IDC_SNOOP_FAST);
         }},
        {"Configuration", IDC_MAIN_CONFIGURATION, IDD_CONFIGURATION, kConfigurationRounds,
         [this](HeadlessHost& configuration, uint64_t) {
             ui.ExpectModal(IDD_GET_SETTINGS,
                            [](Dialog&, HeadlessHost& settings) { settings.Click(kIdOk); });
             configuration.Click(IDC_CONFIG_GET_SETTINGS);
             configuration.Click(IDC_CONFIG_OK);
         }},
    };
    for (const Window& window : windows) {
        SCOPED_TRACE(window.name);
        // A warm-up under faults first, with the user's first click, so that every container
        // has its working size.
        Run(window, std::min(window.ticks / 10, kActEvery));
        Recover();
        const size_t handlesBefore = session->held.size();
        const size_t keysBefore = registry.OpenKeyCount();
        const size_t heapBefore = HeapInUse();
        ASSERT_EQ(emulator->Control("reset-counters"), "OK");

        Run(window, window.ticks);
        ASSERT_FALSE(HasFatalFailure());
        Recover();
        EXPECT_NE(main->GetItemText(IDC_MAIN_REPORT).find(kLobbyReport), std::string::npos)
            << main->GetItemText(IDC_MAIN_REPORT);
        const size_t heapAfter = HeapInUse();
        EXPECT_EQ(session->held.size(), handlesBefore);
        EXPECT_EQ(registry.OpenKeyCount(), keysBefore);
        EXPECT_LE(heapAfter, heapBefore + kHeapSlackBytes);
        std::printf(
            "soak %s: %llu ticks; device handles %zu -> %zu, registry keys %zu -> %zu, "
            "heap %zu -> %zu; faults fired:",
            window.name, static_cast<unsigned long long>(window.ticks), handlesBefore,
            session->held.size(), keysBefore, registry.OpenKeyCount(), heapBefore, heapAfter);
        for (size_t k = 0; k < kFaultKindCount; ++k) {
            std::printf(" %s %llu", FaultKindName(FaultKind(k)),
                        static_cast<unsigned long long>(emulator->Faults().Fired(FaultKind(k))));
        }
        std::printf("\n");
    }
}

}  // namespace
}  // namespace vz
