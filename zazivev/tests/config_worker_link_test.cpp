// The security ID worker and the dialogs share one channel to cardemu: while the worker's
// request is under way, the dialogs' requests wait for it instead of interleaving with it.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "driver/status_queries.h"
#include "emulator/core/scenario_parser.h"
#include "emulator/link/emulator_link.h"
#include "emulator/server/card_server.h"
#include "emulator/server/steady_clock.h"
#include "platform/fake/memory_registry.h"
#include "platform/fake/recording_shell.h"
#include "ui/headless/headless_ui.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/config/security_id_dialogs.h"
#include "zazivev/res/resource.h"

namespace vz {
namespace {

TEST(SecurityIdWorker, SharesTheLinkWithTheDialogsWithoutInterleaving) {
    Scenario world;
    ScenarioError error;
    ASSERT_TRUE(ParseScenario("system nt 4\ndevice davuziro 1\ntiming sync-ms=0 service-us=0\n",
                              world, error));
    SteadyClock clock;
    Emulator emulator(world, clock);
    std::mutex cardLock;
    CardServer server(emulator, cardLock);
    ASSERT_TRUE(server.Start(0));
    emulator.Control("fault slow ms=300 cmd=1");  // before any client: no lock needed yet

    EmulatorLink link(server.Port());
    NullCardHost cardHost;
    Driver driver(link, clock, cardHost, DriverVariant::kTool);
    ASSERT_EQ(OpenDriver(driver), 0);
    MemoryRegistry registry;
    RecordingShell shell;
    ToolContext context(driver, registry, shell, clock, link.GetSystemVersion());
    VirtualClock uiClock;
    HeadlessUi ui(uiClock);
    SecurityIdDialog entry(context);
    HeadlessHost& window = ui.Open(entry);
    window.Type(IDC_SECURITY_ID_EDIT, "orchid");
    window.Click(IDC_SECURITY_ID_OK);
    // The worker on a thread of its own, as the system runs it.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        shell.RunWorkers();
        done = true;
    });

    int requests = 0;
    int failures = 0;
    while (!done) {
        uint8_t sync = 0;
        failures += GetSyncState(driver, sync) != 0 ? 1 : 0;
        ++requests;
    }
    worker.join();
    EXPECT_GT(requests, 0);
    EXPECT_EQ(failures, 0);
    std::lock_guard<std::mutex> lock(cardLock);
    EXPECT_EQ(emulator.Config().securityId, "orchid");
    EXPECT_EQ(emulator.Counters().malformedLists, 0u);
}

}  // namespace
}  // namespace vz
