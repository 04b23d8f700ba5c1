// Scenario files: the shipped ones load, and each kind of mistake names its line and reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "emulator/core/scenario_parser.h"

namespace vz {
namespace {

std::string SourceDir() {
    const char* dir = std::getenv("VZ_SOURCE_DIR");
    return dir ? dir : ".";
}

TEST(ScenarioFile, DefaultScenarioShowsEveryFeature) {
    Scenario s;
    ScenarioError error;
    ASSERT_TRUE(LoadScenarioFile(SourceDir() + "/emulator/scenarios/default.scn", s, error))
        << error.Text();
    EXPECT_EQ(s.system.platformId, kPlatformWindowsNt);
    EXPECT_EQ(s.devices.ntNumbers, std::vector<int>{1});
    EXPECT_EQ(s.card.driverVersion, "V1.2.4");
    EXPECT_EQ(s.card.romVersion, "V1.49b ");
    EXPECT_GE(s.nodes.size(), 12u);
    EXPECT_FALSE(s.spectrum.interferers.empty());
    EXPECT_TRUE(s.radio.enabled);
    EXPECT_FALSE(s.radio.walls.empty());
    for (const MasterSpec& m : s.masters) {
        EXPECT_TRUE(m.placement.placed) << m.name;
    }
    int ownDomain = 0, otherDomains = 0, otherSecurity = 0;
    for (const MasterSpec& m : s.masters) {
        if (m.securityId != s.card.config.securityId) {
            ++otherSecurity;
        } else if (m.domain == s.card.config.domain) {
            ++ownDomain;
        } else {
            ++otherDomains;
        }
    }
    EXPECT_GE(ownDomain, 1);
    EXPECT_GE(otherDomains, 2);
    EXPECT_GE(otherSecurity, 1);
}

TEST(ScenarioFile, StatementsSetWhatTheySay) {
    Scenario s;
    ScenarioError error;
    ASSERT_TRUE(
        ParseScenario("system win95 4\n"
                      "device zeruve\n"
                      "card address=02:00:00:12:AB:CD rom=\"V1.5a  \" country=2\n"
                      "config station=1 domain=15 name=\"Up Stairs\" security-id=\"a \\\"b\\\"\"\n"
                      "calibration none\n"
                      "master 020000000001 name=M domain=15 signal=-50   # trailing comment\n"
                      "node 020000000002 signal=-70 answer=0.5 master=020000000001\n"
                      "interferer 10-12 level=-60 duty=0.25\n"
                      "noise 3-6 level=-80\nnoise 2-4 level=-70\nnoise 6 level=-60\n"
                      "timing service-us=0 sync-ms=0\n"
                      "seed 7\n"
                      "fault busy status=-7 count=3\n",
                      s, error))
        << error.Text();
    EXPECT_EQ(s.system.platformId, kPlatformWindows95);
    EXPECT_TRUE(s.devices.windows95Device);
    EXPECT_TRUE(s.devices.ntNumbers.empty());
    EXPECT_EQ(FormatMacAddress(s.card.address), "02000012abcd");
    EXPECT_EQ(s.card.romVersion, "V1.5a  ");
    EXPECT_EQ(s.card.config.masterName, "Up Stairs");
    EXPECT_EQ(s.card.config.securityId, "a \"b\"");
    EXPECT_TRUE(s.card.calibration.empty());
    ASSERT_EQ(s.nodes.size(), 1u);
    EXPECT_TRUE(s.nodes[0].inOneCell);
    EXPECT_EQ(s.spectrum.interferers[0].last, 12);
    using Noise = std::vector<std::pair<int, double>>;  // a later range replaces what it covers
    EXPECT_EQ(s.spectrum.noiseByIndex, (Noise{{5, -80}, {2, -70}, {3, -70}, {4, -70}, {6, -60}}));
    EXPECT_EQ(s.timing.serviceUs, 0u);
    EXPECT_EQ(s.seed, 7u);
    ASSERT_EQ(s.faults.size(), 1u);
    EXPECT_EQ(s.faults[0].kind, FaultKind::kBusy);
    EXPECT_EQ(s.faults[0].status, -7);
}

struct BadCase {
    const char* text;
    int line;
    const char* reason;  // a part of the reason
};

class BadScenario : public testing::TestWithParam<BadCase> {};

TEST_P(BadScenario, NamesTheLineAndTheReason) {
    Scenario s;
    s.seed = 99;
    ScenarioError error;
    EXPECT_FALSE(ParseScenario(GetParam().text, s, error));
    EXPECT_EQ(error.line, GetParam().line) << error.Text();
    EXPECT_NE(error.reason.find(GetParam().reason), std::string::npos) << error.reason;
    EXPECT_EQ(s.seed, 99u);  // a refused file changes nothing
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, BadScenario,
    testing::Values(
        BadCase{"seed 1\nwibble 3\n", 2, "unknown statement 'wibble'"},
        BadCase{"master 0200000000 domain=1 signal=-50\n", 1, "12 hexadecimal digits"},
        BadCase{"master 020000000001 domain=16 signal=-50\n", 1, "domain must be"},
        BadCase{"master 020000000001 signal=-50\n", 1, "needs domain= and signal="},
        BadCase{"master 020000000001 domain=1 signal=-50 colour=red\n", 1, "unknown key 'colour'"},
        BadCase{"master 020000000001 domain=1 signal=-50\nmaster 020000000001 domain=2 "
                "signal=-60\n",
                2, "already defined"},
        BadCase{"node 020000000001 signal=-50\nmaster 020000000001 domain=1 signal=-1\n", 2,
                "already used"},
        BadCase{"node 020000000001 signal=5\n", 1, "signal must be"},
        BadCase{"node 020000000001 signal=-50 answer=1.5\n", 1, "answer must be"},
        BadCase{"node 020000000001 signal=nan\n", 1, "signal must be"},
        BadCase{"node 020000000001 signal=-50 master=020000000009\n", 1, "not defined"},
        BadCase{"card rom=\"V1.49b  x\"\n", 1, "rom is longer than 7"},
        BadCase{"card address=ffffffffffff\n", 1, "broadcast"},
        BadCase{"config security-id=\"abcdefghijklmnopqrstu\"\n", 1, "longer than 20"},
        BadCase{"calibration 40:200 60\n", 1, "DBM:RAW"},
        BadCase{"calibration 1:1 2:2 3:3 4:4 5:5 6:6 7:7 8:8 9:9 10:10 11:11\n", 1, "at most 10"},
        BadCase{"device davuziro 1000\n", 1, "1 to 999"},
        BadCase{"device davuziro 2\ndevice davuziro 2\n", 2, "already defined"},
        BadCase{"system os2\n", 1, "unknown system"},
        BadCase{"interferer 0-5 level=-60\n", 1, "frequency index"},
        BadCase{"noise 5-3 level=-60\n", 1, "frequency index"},
        BadCase{"timing dwell-ms=0\n", 1, "dwell-ms must be"},
        BadCase{"config name=\"unterminated\n", 1, "unterminated quote"},
        BadCase{"config name=\"a\\nb\"\n", 1, "escaped"},
        BadCase{"seed 1\n\n  domain=3\n", 3, "not a statement"},
        BadCase{"fault fail cmd=3\n", 1, "needs cmd= and status="},
        BadCase{"fault busy status=-4\n", 1, "status must be"},
        BadCase{"fault explode\n", 1, "unknown fault"},
        BadCase{"seed 1\nseed \x01\n", 2, "control character"}));

TEST(ScenarioFile, OverlongLineAndMissingFileAreRefused) {
    Scenario s;
    ScenarioError error;
    EXPECT_FALSE(ParseScenario("seed 1\n# " + std::string(2000, 'x') + "\n", s, error));
    EXPECT_EQ(error.line, 2);
    EXPECT_FALSE(LoadScenarioFile("/nonexistent/world.scn", s, error));
    EXPECT_EQ(error.line, 0);
    EXPECT_NE(error.Text().find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace vz
