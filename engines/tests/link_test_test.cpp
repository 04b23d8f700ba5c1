// The directed link test on the emulated card: its figures against the nodes' truth, the roaming
// it follows, the failures it gives up or recovers from, and the totals of a run.
#include "engines/link_test.h"
#include "engines/tests/engine_world.h"

namespace vz {
namespace {

class LinkTestEngine : public EngineTest, private LinkView {
  protected:
    void Open(const std::string& target, int packetSize = kDefaultPacketSize) {
        Begin();
        link.emplace(*context, target, packetSize, static_cast<LinkView&>(*this));
        link->Begin();
    }

    // The window's schedule: a measuring loop, then 100 ms, for `ms`.
    void RunFor(uint32_t ms) {
        for (const uint32_t end = clock.NowMs() + ms; clock.NowMs() < end;) {
            link->Tick();
            clock.SleepMs(100);
        }
    }

    void ShowOutOfRange(bool shown) override { outOfRange = shown; }
    void ShowMaximumLatency(int64_t ms) override { maximum = ms; }
    void ShowTargetFollowed(const char* address, const char* name) override {
        followed = std::string(address) + " " + name;
    }
    void ShowPass(const LinkPass& pass) override { last = pass; }

    std::optional<LinkTest> link;
    LinkPass last;
    bool outOfRange = false;
    int64_t maximum = -1;
    std::string followed;
};

TEST_F(LinkTestEngine, AFixedLatencyHasNoDeviationRoamingBeepsAndLostEchoesAreGivenUp) {
    Open("00a0d41000ab");
    RunFor(3000);
    EXPECT_EQ(last.figures.latency, 7);
    EXPECT_EQ(maximum, 7);
    EXPECT_EQ(last.figures.deviation, 0.0);
    EXPECT_EQ(last.figures.signalPercent, 90);
    // One echo and the node's own ping every 7 ms: about 2 x 1000 / 7 a second.
    EXPECT_NEAR(last.figures.packetsPerSecond, 2 * 1000 / 7, 10);
    EXPECT_GT(last.averageBytes, 0);
    EXPECT_FALSE(outOfRange);
    EXPECT_EQ(link->Totals().echoes, link->Totals().pingsSent - int64_t{link->PingOutstanding()});
    EXPECT_EQ(link->Totals().latencyChangeSumMs, 0);

    // The node goes on answering while the card roams.
    emulator->Control("silence 00a0d4010001");
    RunFor(1000);
    EXPECT_EQ(cardHost.beeps, (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 500}}));
    EXPECT_EQ(link->Target(), "00a0d41000ab");
    EXPECT_EQ(followed, "");

    // Ten lost echoes in a row are given up without reinitialising the card; eleven would.
    const uint64_t inits = Requests(kCmdInitCard);
    InjectFailure(kCmdGetPingEcho, kStatusNoEcho, "count=10");
    RunFor(1000);
    EXPECT_EQ(Requests(kCmdInitCard), inits);
    emulator->Control("node 00a0d41000ab loss=0.3");
    RunFor(5000);
    EXPECT_EQ(Requests(kCmdInitCard), inits);
    EXPECT_NE(last.figures.packetsPerSecond, 0);
    emulator->Control("node 00a0d41000ab loss=0");
    InjectFailure(kCmdGetPingEcho, kStatusNoEcho, "count=11");
    RunFor(1000);
    EXPECT_GT(Requests(kCmdInitCard), inits);
}

TEST_F(LinkTestEngine, AKnownSpreadShowsAsTheDeviationOverALongRun) {
    Open("00a0d4100003");
    RunFor(5000);
    double sum = 0;
    constexpr int kPasses = 200;
    for (int pass = 0; pass < kPasses; ++pass) {
        RunFor(1);
        sum += last.figures.deviation;
    }
    EXPECT_NEAR(sum / kPasses, 3.0, 0.1);
    // Successive latencies of a spread of 3 differ by 3 x 2 / sqrt(pi) on average.
    const LinkTotals& totals = link->Totals();
    EXPECT_NEAR(double(totals.latencyChangeSumMs) / totals.latencyChanges, 3.4, 0.3);
}

// A failed send restarts the ring at its first slot: the slots it skips keep their older samples.
TEST_F(LinkTestEngine, AFailedSendRestartsTheRingAtItsFirstSlot) {
    Open("00a0d41000ab");
    RunFor(5000);
    emulator->Control("node 00a0d41000ab latency=21");
    RunFor(1500);
    InjectFailure(kCmdTransmitPing, kStatusFailed, "nth=1");
    RunFor(1500);
    // Three slots of the new latency and six of the old, weighted by their samples: 10 ms. Had
    // the ring gone on, six slots of the new latency would show 14.
    EXPECT_EQ(last.figures.latency, 10);
}

TEST_F(LinkTestEngine, ALostMasterIsFollowedAfterTheRecovery) {
    Open("00a0d4010001");
    EXPECT_TRUE(link->TargetIsMaster());
    RunFor(1000);
    emulator->Control("silence 00a0d4010001");
    RunFor(3000);
    // The start's, then the recovery's own and the one of its SynchToMaster: one recovery.
    EXPECT_EQ(Requests(kCmdInitCard), 3u);
    EXPECT_EQ(followed, "00a0d4010002 Annex");
    EXPECT_EQ(link->Target(), "00a0d4010002");
    EXPECT_NE(last.figures.latency, 0);
}

}  // namespace
}  // namespace vz
