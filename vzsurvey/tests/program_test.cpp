// vzsurvey from arguments to exit status on a card emulated in process, on virtual time: each
// command's output against golden files of a fixed world, its figures against the world's truth,
// the exit statuses, the card left alone or given back, and an interrupted run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <numeric>
#include <nlohmann/json.hpp>
#include <sstream>

#include "driver/request_block.h"
#include "platform/fake/registry_tree.h"
#include "program/tests/emulated_world.h"
#include "program/tests/test_worlds.h"
#include "vzsurvey/program/survey_program.h"
#include "vzsurvey/tests/command_words.h"

namespace vz {
namespace {

constexpr int64_t kEpochMs = 1796632200000;  // 2026-12-07T08:30:00Z

const std::string kWorld = kCard + R"(config station=0 domain=3 roaming=0 security-id=""
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48 latency=2 spread=0
master 00a0d4010002 name="Annex" domain=3 channel=7 subchannel=1 signal=-60 latency=2 spread=0
master 00a0d4010009 name="Far" domain=9 channel=2 subchannel=3 signal=-70
node 00a0d41000ab signal=-44 latency=7 spread=0
node 00a0d4100002 signal=-70 answer=0.5 latency=12 spread=4 loss=0.25
spectrum floor=-96 sigma=2
interferer 10-14 level=-55 duty=0.5
noise 30-31 level=-50
timing sync-ms=0 lock-ms=0 service-us=0 signal-noise-db=0
seed 7
)";

class SurveyProgramTest : public EmulatedWorldTest, public ConsoleSeams {
  protected:
    // The card installed as a Station of domain 3.
    void SetUp() override {
        test::PutValue(registry, kParameters, "Master_Name", test::Sz("MASTER"));
        test::PutValue(registry, kParameters, "Domain", test::Dword(3));
        Rebuild(kWorld);
    }

    void Rebuild(const std::string& scenario) {
        BuildWorld(scenario);
        WireDriver(*io, cardHost, DriverVariant::kTool);
        context.emplace(Program());
    }

    bool ToolRunning() override { return toolRunning; }
    bool HoldCard() override { return !cardHeld; }
    ProgramContext* Wire() override { return &*context; }
    RunHooks Hooks() override {
        RunHooks hooks;
        hooks.stopRequested = [this] { return clock.NowMs() >= stopAtMs; };
        hooks.utcNowMs = [this] { return kEpochMs + clock.NowMs(); };
        return hooks;
    }

    // Runs vzsurvey with the words of `commandLine`; its standard output and error are kept.
    int Run(const std::string& commandLine) {
        out.str("");
        err.str("");
        return RunSurveyProgram(Words(commandLine), *this, out, err);
    }

    // The output against golden/world/`name`; VZ_UPDATE_GOLDEN=1 writes it instead.
    void ExpectGolden(const std::string& name) {
        const std::string path =
            std::string(std::getenv("VZ_SOURCE_DIR")) + "/vzsurvey/tests/golden/world/" + name;
        if (std::getenv("VZ_UPDATE_GOLDEN") != nullptr) {
            std::ofstream(path) << out.str();
            return;
        }
        std::ifstream file(path);
        std::stringstream expected;
        expected << file.rdbuf();
        EXPECT_EQ(out.str(), expected.str()) << name;
    }

    // Opens and requests the card has seen.
    uint64_t Requests() {
        const EmulatorCounters& counters = emulator->Counters();
        return std::accumulate(counters.requests.begin(), counters.requests.end(),
                               counters.opens + counters.failedOpens);
    }

    NullCardHost cardHost;
    std::optional<ProgramContext> context;
    std::ostringstream out;
    std::ostringstream err;
    bool toolRunning = false;
    bool cardHeld = false;
    uint32_t stopAtMs = UINT32_MAX;
};

TEST_F(SurveyProgramTest, EachCommandPrintsTheWorldAsItIs) {
    const std::pair<const char*, const char*> kRuns[] = {
        {"status", "status.table"},
        {"masters --csv", "masters.csv"},
        {"masters --domain 9 --seconds 4", "masters-one.table"},
        {"survey --cycles 3 --sort address --jsonl", "survey.jsonl"},
        {"link 00a0d41000ab --seconds 2 --size 60", "link.table"},
        {"snoop --rate fast --json", "snoop.json"},
    };
    for (const auto& [commandLine, golden] : kRuns) {
        SCOPED_TRACE(commandLine);
        EXPECT_EQ(Run(commandLine), 0) << err.str();
        EXPECT_EQ(err.str(), "");
        ExpectGolden(golden);
    }
}

// The link test's figures against the node's truth: a fixed 7 ms echo, and a node losing a
// quarter of its echoes with a spread of 4 ms.
TEST_F(SurveyProgramTest, LinkFiguresMatchTheNodesTruthAndThresholdsJudgeThem) {
    ASSERT_EQ(Run("link 00a0d41000ab --seconds 5 --size 60 --json"), 0);
    nlohmann::json steady = nlohmann::json::parse(out.str())["summary"];
    EXPECT_EQ(steady["latency_ms"], 7);
    EXPECT_EQ(steady["jitter_ms"], 0);
    EXPECT_EQ(steady["loss_percent"], 0);
    EXPECT_EQ(steady["pings_sent"], steady["echoes_received"]);

    EXPECT_EQ(Run("link 00a0d4100002 --seconds 20 --size 60 --json --warn-loss-percent 10 "
                  "--crit-loss-percent 40"),
              1);
    nlohmann::json flaky = nlohmann::json::parse(out.str())["summary"];
    EXPECT_NEAR(flaky["loss_percent"].get<double>(), 25, 8);
    EXPECT_NEAR(flaky["jitter_ms"].get<double>(), 4 * 2 / std::sqrt(M_PI), 1.5);
    EXPECT_NEAR(flaky["latency_ms"].get<double>(), 12, 1);

    EXPECT_EQ(Run("link 00a0d41000ab --seconds 2 --size 60 --nagios --warn-latency-ms 3 "
                  "--crit-latency-ms 6"),
              2);
    EXPECT_EQ(out.str().rfind("VZSURVEY LINK CRITICAL - ", 0), 0u) << out.str();
}

// Nothing touches the card for a bad command line, while the tool runs, or while another run has
// the card; without a driver, or with the channel lost, the run ends UNKNOWN.
TEST_F(SurveyProgramTest, ExitStatusesAndTheCardLeftAlone) {
    struct Case {
        const char* what;
        const char* commandLine;
        bool toolRunning;
        bool cardHeld;
        const char* control;  // emulator commands, split at ';'; null: none
        int status;
        bool touchesCard;
    };
    const Case kCases[] = {
        {"unknown option", "link master --speed 3", false, false, nullptr, 3, false},
        {"address not hex", "link 00a0d41000zz", false, false, nullptr, 3, false},
        {"size too small", "link master --size 59", false, false, nullptr, 3, false},
        {"no cycles", "survey --cycles 0", false, false, nullptr, 3, false},
        {"tool running", "status", true, false, nullptr, 3, false},
        {"card held", "status", false, true, nullptr, 3, false},
        {"no driver", "status", false, false, "eject", 3, true},
        {"channel lost", "survey --cycles 2", false, false,
         "fault fail cmd=3 status=-9 count=always", 3, true},
        {"not synchronised", "status", false, false, "silence 00a0d4010001;silence 00a0d4010002", 2,
         true},
        {"too few nodes", "survey --cycles 2 --min-nodes 9", false, false, nullptr, 2, true},
        {"enough nodes", "survey --cycles 2 --min-nodes 2", false, false, nullptr, 0, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Rebuild(kWorld);
        toolRunning = c.toolRunning;
        cardHeld = c.cardHeld;
        std::istringstream control(c.control != nullptr ? c.control : "");
        for (std::string line; std::getline(control, line, ';');) {
            ASSERT_EQ(emulator->Control(line).substr(0, 2), "OK") << line;
        }
        const uint64_t before = Requests();
        EXPECT_EQ(Run(c.commandLine), c.status) << err.str();
        EXPECT_EQ(Requests() > before, c.touchesCard);
        if (c.status == 3) {
            EXPECT_EQ(err.str().rfind("vzsurvey: ", 0), 0u) << err.str();
            EXPECT_EQ(out.str(), "");
        }
    }
}

// Each point goes into the walk file at once, after the walk's own line; the report reads the
// walk without touching the card; a walk file that cannot be written ends the point UNKNOWN.
TEST_F(SurveyProgramTest, AWalkIsRecordedPointByPointAndReportedWithoutTheCard) {
    const std::string walk = ::testing::TempDir() + "walk.jsonl";
    const std::string page = ::testing::TempDir() + "walk.html";
    std::remove(walk.c_str());
    for (const char* point : {"--at 10,20 --label Hall", "--at 30,5 --label Lab --link master"}) {
        EXPECT_EQ(Run(std::string("record --cycles 3 --out ") + walk + " " + point), 0)
            << err.str();
    }
    std::ifstream file(walk);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["card"]["master_name"], "Lobby");
    EXPECT_EQ(lines[2]["label"], "Lab");
    EXPECT_EQ(lines[2]["link"]["address"], "00a0d4010001");
    // The nodes as the survey's last cycle left them: Lobby at quality 4 after three cycles.
    EXPECT_EQ(lines[1]["nodes"][0]["master_name"], "Lobby");
    EXPECT_EQ(lines[1]["nodes"][0]["link_quality"], 4);

    const uint64_t before = Requests();
    toolRunning = true;
    EXPECT_EQ(Run("report " + walk + " --out " + page), 0) << err.str();
    EXPECT_EQ(Requests(), before);
    toolRunning = false;
    EXPECT_EQ(Run("record --at 1,1 --out " + ::testing::TempDir() + "no/such/walk.jsonl"), 3);
}

// Ctrl+C ends each run cleanly: its JSON whole, and the card given what the window gives back
// on closing.
TEST_F(SurveyProgramTest, AnInterruptedRunGivesTheCardBackAndEndsItsOutput) {
    const std::pair<const char*, uint32_t> kRuns[] = {
        {"masters --json", 6000},
        {"survey --cycles 100 --json", 3000},
        {"link master --seconds 60 --json", 2000},
        {"snoop --rate slow --sweeps 5 --json", 20000},
    };
    // An Alternate Master: the Master search makes it a Station meanwhile.
    test::PutValue(registry, kParameters, "Station_Type", test::Dword(1));
    Rebuild(Edited(kWorld, "station=0", "station=1"));
    for (const auto& [commandLine, stopAfterMs] : kRuns) {
        SCOPED_TRACE(commandLine);
        stopAtMs = clock.NowMs() + stopAfterMs;
        EXPECT_EQ(Run(commandLine), 0) << err.str();
        EXPECT_LT(clock.NowMs(), stopAtMs + 6000) << "ends soon after the interruption";
        const nlohmann::json document = nlohmann::json::parse(out.str());
        EXPECT_FALSE(document["records"].empty());
        EXPECT_TRUE(document["summary"].is_object());
        EXPECT_EQ(emulator->Config().roamingFlag, 0);
        EXPECT_EQ(emulator->Config().stationType, 1);
    }
    EXPECT_EQ(emulator->Control("state").find("mode=search"), std::string::npos);
}

}  // namespace
}  // namespace vz
