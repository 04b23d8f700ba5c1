// The site survey on the emulated card: its cycle, a new Master, and a lock that fails and is
// tried again.
#include "engines/site_survey.h"
#include "engines/tests/engine_world.h"

namespace vz {
namespace {

class SiteSurveyEngine : public EngineTest, private SurveyView {
  protected:
    void Open(const std::string& scenario = kSurveyScenario) {
        Begin(scenario);
        survey.emplace(*context, kStationTypeStation, 3, 1, static_cast<SurveyView&>(*this));
        survey->Begin();
        survey->Reset();
    }

    // One tick of whichever schedule runs, 100 ms after the last.
    void Tick() {
        clock.SleepMs(SiteSurvey::kTickMs);
        survey->Tick(awaitingEcho);
    }

    // Lets `n` cycles pass, each ending with its echo wait; returns the time they took.
    uint32_t RunCycles(int n) {
        const uint32_t start = clock.NowMs();
        for (int done = 0, ticks = 0; done < n; ++ticks) {
            EXPECT_LT(ticks, 100 * n) << "no cycle ends";
            const bool echoWait = awaitingEcho;
            Tick();
            done += echoWait && !awaitingEcho;
        }
        return clock.NowMs() - start;
    }

    void ShowOutOfRange(bool shown) override { outOfRange = shown; }
    void ShowRows() override { ++rowsShown; }
    void ClearRows() override {}
    void ShowNodeAdded(int) override {}
    void ShowSurveyReset() override {}
    void Listen(bool) override {}
    void AwaitEcho(bool on) override { awaitingEcho = on; }
    void Busy(bool) override {}

    std::optional<SiteSurvey> survey;
    bool awaitingEcho = false;
    bool outOfRange = false;
    int rowsShown = 0;
};

TEST_F(SiteSurveyEngine, ACycleListensHalfASecondThenWaitsForTheEchoAndANewMasterEmptiesTheTable) {
    Open();
    RunCycles(2);
    EXPECT_EQ(RunCycles(1), 500u + 100u);
    EXPECT_FALSE(outOfRange);

    // A new Master beeps and empties the table.
    emulator->Control("silence 00a0d4010001");
    RunCycles(3);
    EXPECT_EQ(cardHost.beeps, (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 500}}));
    EXPECT_STREQ(driver->card.masterName, "Annex");
    EXPECT_STREQ(survey->Table().Entry(0).address, "00a0d4010002");
    EXPECT_EQ(survey->Table().NodeCount(), 5);

    // An echo that never comes is polled fifteen times, and the card counts as out of range.
    InjectFailure(kCmdGetPingEcho, kStatusPending, "count=always");
    RunCycles(1);
    EXPECT_EQ(RunCycles(1), 500u + 16 * 100u);
    EXPECT_TRUE(outOfRange);
}

// A lock the check box asked for that fails is tried again on the next tick, without the card
// having to drop out of step first.
TEST_F(SiteSurveyEngine, AFailedLockIsRetriedByTheNextTick) {
    Open(Edited(kSurveyScenario, "V1.49b ", "V1.47a "));
    RunCycles(2);
    emulator->Control("silence 00a0d4010001");
    InjectFailure(kCmdSearchSynchronous, kStatusFailed, "nth=1");
    survey->SetRoaming(false, "Lobby", "00a0d4010001");
    EXPECT_EQ(Requests(kCmdSearchSynchronous), 1u);
    emulator->Control("unsilence 00a0d4010001");
    for (int tick = 0; tick < 10; ++tick) {
        Tick();
    }
    EXPECT_EQ(Requests(kCmdSearchSynchronous), 2u);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
}

}  // namespace
}  // namespace vz
