// cardemu over loopback: several programs at once, bad frames, a restarted server, control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "driver/card_control.h"
#include "driver/le_bytes.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "emulator/link/emulator_link.h"
#include "emulator/server/card_server.h"
#include "emulator/server/control_client.h"
#include "platform/steady_clock.h"
#include "emulator/tests/emulated_card.h"
#include "emulator/wire/frame.h"
#include "emulator/wire/stream.h"

namespace vz {
namespace {

const std::string kWorld =
    "system nt 4\n"
    "device davuziro 2\n"
    "master 00a0d4000a01 name=\"Alpha\" domain=0 signal=-50\n"
    "timing sync-ms=0 service-us=0\n";

struct RunningServer {
    explicit RunningServer(uint16_t port = 0) : emulator(ParseOrFail(kWorld), clock) {
        started = server.Start(port);
    }
    SteadyClock clock;
    Emulator emulator;
    std::mutex lock;
    CardServer server{emulator, lock};
    bool started = false;
};

struct LinkedProgram {
    explicit LinkedProgram(uint16_t port, DriverVariant variant = DriverVariant::kTool)
        : link(port), driver(link, clock, host, variant) {}
    EmulatorLink link;
    SteadyClock clock;
    NullCardHost host;
    Driver driver;
};

Status SyncStatus(Driver& driver) {
    uint8_t sync = 0;
    return GetSyncState(driver, sync);
}

TEST(Server, ServesTwoProgramsAtOnceAgainstOneCard) {
    RunningServer s;
    ASSERT_TRUE(s.started);
    std::vector<int> failures(2, 0);
    std::vector<std::thread> programs;
    for (int p = 0; p < 2; ++p) {
        programs.emplace_back([&, p] {
            LinkedProgram program(s.server.Port(),
                                  p == 0 ? DriverVariant::kTool : DriverVariant::kMonitor);
            if (OpenDriver(program.driver) != Status::kOk) {
                ++failures[p];
            }
            for (int i = 0; i < 300; ++i) {
                MasterReading master;
                if (GetMasterNode(program.driver, master) != Status::kOk || master.syncState == 0 ||
                    std::string(master.address) != "00a0d4000a01") {
                    ++failures[p];
                }
            }
            CloseDriver(program.driver);
        });
    }
    for (auto& t : programs) {
        t.join();
    }
    EXPECT_EQ(failures, (std::vector<int>{0, 0}));
    std::lock_guard<std::mutex> guard(s.lock);
    EXPECT_EQ(s.emulator.Counters().requests[kCmdGetDriverData], 600u);
    EXPECT_EQ(s.emulator.Counters().opens, 2u);
}

struct Garbage {
    const char* what;
    std::vector<uint8_t> bytes;
};

class BadFrames : public testing::TestWithParam<Garbage> {};

TEST_P(BadFrames, DropOnlyTheirSender) {
    RunningServer s;
    ASSERT_TRUE(s.started);
    LinkedProgram good(s.server.Port());
    ASSERT_EQ(OpenDriver(good.driver), 0);

    const SocketHandle bad = ConnectLoopback(s.server.Port());
    ASSERT_NE(bad, kInvalidSocket);
    ASSERT_TRUE(SendAll(bad, GetParam().bytes.data(), GetParam().bytes.size()));
    ShutdownSocket(bad);  // a half frame is all that will ever come
    ASSERT_EQ(SyncStatus(good.driver), 0);
    uint8_t byte;
    EXPECT_LE(ReceiveSome(bad, &byte, 1), 0) << GetParam().what;  // closed by the server
    CloseSocket(bad);

    for (int i = 0; i < 50 && s.server.Stats().malformed == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(s.server.Stats().malformed, 1u) << GetParam().what;
    EXPECT_EQ(SyncStatus(good.driver), 0);
}

std::vector<uint8_t> Frame(const std::vector<uint8_t>& body) {
    return FrameWriter(WireOp(body[0])).Bytes(body.data() + 1, body.size() - 1).Finish();
}

INSTANTIATE_TEST_SUITE_P(
    Frames, BadFrames,
    testing::Values(Garbage{"length beyond bound", {0xff, 0xff, 0xff, 0x7f, 1}},
                    Garbage{"length zero", {0, 0, 0, 0}}, Garbage{"half a length", {9, 0}},
                    Garbage{"half a body", {9, 0, 0, 0, 2, 3}},
                    Garbage{"unknown op", Frame({0x42})},
                    Garbage{"path longer than its frame", Frame({2, 200, 0, 'a'})},
                    Garbage{"NUL inside a path", Frame({2, 3, 0, 'a', 0, 'b'})},
                    Garbage{"bytes left over", Frame({1, 0})},
                    Garbage{"control magic wrong", Frame({0x7f, 'X', 'X'})},
                    Garbage{"output above 2016",
                            Frame({5, 0, 1, 0, 0, 2, 0, 0x17, 0, 0, 0, 0xe1, 0x07})}));

TEST(Server, KilledAndRestartedGivesMinus9ThenRecovery) {
    auto first = std::make_unique<RunningServer>();
    ASSERT_TRUE(first->started);
    const uint16_t port = first->server.Port();
    LinkedProgram program(port);
    ASSERT_EQ(OpenDriver(program.driver), 0);
    ASSERT_EQ(SyncStatus(program.driver), 0);

    first.reset();  // cardemu killed
    EXPECT_EQ(SyncStatus(program.driver), kStatusChannelLost);
    EXPECT_EQ(OpenDriver(program.driver), -1);
    EXPECT_EQ(SyncStatus(program.driver), kStatusChannelLost);

    RunningServer second(port);  // cardemu started again on its port
    ASSERT_TRUE(second.started);
    EXPECT_EQ(SyncStatus(program.driver), kStatusChannelLost);  // the old handle stays dead
    ASSERT_EQ(OpenDriver(program.driver), 0);
    EXPECT_EQ(RestartDriver(program.driver), 0);
    EXPECT_EQ(SyncStatus(program.driver), 0);
    EXPECT_STREQ(program.driver.dosName, "DAVUZIRO2");
}

TEST(Server, ControlConnectionInjectsFaultsAndDropsClients) {
    RunningServer s;
    ASSERT_TRUE(s.started);
    LinkedProgram program(s.server.Port());
    ASSERT_EQ(OpenDriver(program.driver), 0);
    ControlConnection control;
    ASSERT_TRUE(control.Open(s.server.Port()));

    EXPECT_EQ(control.Send("fault drop cmd=3"), "OK");
    EXPECT_EQ(SyncStatus(program.driver), kStatusChannelLost);
    EXPECT_NE(control.Send("counters").find("fired-drop=1"), std::string::npos);
    ASSERT_EQ(OpenDriver(program.driver), 0);
    EXPECT_EQ(SyncStatus(program.driver), 0);

    EXPECT_EQ(control.Send("drop-clients"), "OK");
    EXPECT_EQ(SyncStatus(program.driver), kStatusChannelLost);
    ASSERT_EQ(OpenDriver(program.driver), 0);
    EXPECT_EQ(SyncStatus(program.driver), 0);

    EXPECT_EQ(control.Send("silence 00a0d4000a01"), "OK");
    uint8_t sync = 1;
    EXPECT_EQ(GetSyncState(program.driver, sync), 0);
    EXPECT_EQ(sync, 0);
    EXPECT_EQ(control.Send("clients").compare(0, 10, "OK active="), 0);
    EXPECT_EQ(control.Send("bogus").compare(0, 4, "ERR "), 0);
    EXPECT_EQ(control.Send(std::string(2000, 'x')), "ERR line too long");
    EXPECT_EQ(control.Send("state"), "");  // the server closed the connection after that
}

TEST(Server, ControlClientReportsEachAnswer) {
    RunningServer s;
    ASSERT_TRUE(s.started);
    const std::string address = "127.0.0.1:" + std::to_string(s.server.Port());
    std::istringstream none;
    std::ostringstream out, err;
    EXPECT_EQ(RunControlClient(address, {"silence", "00a0d4000a01"}, none, out, err), 0);
    EXPECT_EQ(out.str(), "OK\n");
    EXPECT_EQ(RunControlClient(address, {"-e", "fault busy status=-5 count=2", "-e", "counters"},
                               none, out, err),
              0);
    EXPECT_NE(out.str().find("pending-faults=1"), std::string::npos);
    std::istringstream lines("state\n\nnonsense\n");
    EXPECT_EQ(RunControlClient(address, {}, lines, out, err), 1);
    EXPECT_EQ(RunControlClient("10.1.2.3:80", {"state"}, none, out, err), 2);
    EXPECT_EQ(RunControlClient(address, {"-e"}, none, out, err), 2);
}

struct ControlArgumentsCase {
    std::vector<std::string> arguments;
    bool valid;
    std::vector<std::string> commands;
};

class ControlArguments : public testing::TestWithParam<ControlArgumentsCase> {};

TEST_P(ControlArguments, WordsAreOneCommandAndEachDashEIsAnother) {
    std::vector<std::string> commands{"left over"};
    EXPECT_EQ(ControlCommandsFromArguments(GetParam().arguments, commands), GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(commands, GetParam().commands);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ControlArguments,
    testing::Values(
        ControlArgumentsCase{{}, true, {}}, ControlArgumentsCase{{"state"}, true, {"state"}},
        ControlArgumentsCase{{"silence", "00a0d4010001"}, true, {"silence 00a0d4010001"}},
        ControlArgumentsCase{{"fault busy status=-5"}, true, {"fault busy status=-5"}},
        ControlArgumentsCase{{"-e", "state", "-e", "fault clear"}, true, {"state", "fault clear"}},
        ControlArgumentsCase{{"-e"}, false, {}},
        ControlArgumentsCase{{"-e", "state", "counters"}, false, {}},
        ControlArgumentsCase{{"state", "-e", "counters"}, false, {}}));

struct AddressCase {
    const char* text;
    int port;  // 0: refused
};

class EmulatorAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(EmulatorAddress, OnlyLoopbackIsAccepted) {
    uint16_t port = 0;
    EXPECT_EQ(ParseEmulatorAddress(GetParam().text, port), GetParam().port != 0);
    if (GetParam().port != 0) {
        EXPECT_EQ(port, GetParam().port);
    }
    setenv(kEmulatorEnvironmentVariable, GetParam().text, 1);
    EXPECT_EQ(MakeEmulatorLinkFromEnvironment() != nullptr, GetParam().port != 0);
    unsetenv(kEmulatorEnvironmentVariable);
    EXPECT_EQ(MakeEmulatorLinkFromEnvironment(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Texts, EmulatorAddress,
                         testing::Values(AddressCase{"127.0.0.1:5000", 5000},
                                         AddressCase{"localhost:1", 1},
                                         AddressCase{"10.0.0.1:5000", 0},
                                         AddressCase{"127.0.0.1", 0}, AddressCase{"127.0.0.1:0", 0},
                                         AddressCase{"127.0.0.1:70000", 0},
                                         AddressCase{"127.0.0.1:12a", 0}, AddressCase{"", 0}));

// The link against a peer that answers its first request with these parts, sent apart; the
// answer says version 3, which the link does not assume before it has an answer.
struct AnswerCase {
    const char* what;
    std::vector<std::vector<uint8_t>> parts;
    bool taken;
};

class LinkAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(LinkAnswers, OnlyOneWholeAnswerIsTaken) {
    uint16_t port = 0;
    const SocketHandle listener = ListenLoopback(0, port);
    ASSERT_NE(listener, kInvalidSocket);
    std::thread peer([&] {
        const SocketHandle s = AcceptConnection(listener);
        std::vector<uint8_t> request;
        if (ReceiveFrame(s, request, 1000) == FrameRead::kOk) {
            for (const std::vector<uint8_t>& part : GetParam().parts) {
                SendAll(s, part.data(), part.size());
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        ShutdownSocket(s);
        CloseSocket(s);
    });
    EmulatorLink link(port);
    const SystemVersion version = link.GetSystemVersion();
    peer.join();
    CloseSocket(listener);
    EXPECT_EQ(version.majorVersion == 3, GetParam().taken) << GetParam().what;
    EXPECT_EQ(link.Connected(), GetParam().taken) << GetParam().what;
}

std::vector<uint8_t> VersionAnswer() {
    return FrameWriter(WireOp::kGetSystemVersion, true).U32(kPlatformWindowsNt).U32(3).Finish();
}

std::vector<std::vector<uint8_t>> Parts(std::vector<uint8_t> bytes, std::vector<size_t> cuts) {
    std::vector<std::vector<uint8_t>> parts;
    size_t from = 0;
    cuts.push_back(bytes.size());
    for (size_t cut : cuts) {
        parts.emplace_back(bytes.begin() + from, bytes.begin() + cut);
        from = cut;
    }
    return parts;
}

std::vector<uint8_t> Twice(std::vector<uint8_t> bytes) {
    const std::vector<uint8_t> copy = bytes;
    bytes.insert(bytes.end(), copy.begin(), copy.end());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LinkAnswers,
    testing::Values(AnswerCase{"whole", {VersionAnswer()}, true},
                    AnswerCase{"byte by byte", Parts(VersionAnswer(), {1, 2, 3, 4, 5, 9}), true},
                    AnswerCase{"half a length, then the rest", Parts(VersionAnswer(), {2}), true},
                    AnswerCase{"two answers at once", {Twice(VersionAnswer())}, false},
                    AnswerCase{"closed unanswered", {}, false},
                    AnswerCase{"closed half-way", {Parts(VersionAnswer(), {7})[0]}, false},
                    AnswerCase{"length zero", {{0, 0, 0, 0}}, false},
                    AnswerCase{"length beyond bound", {{0x01, 0x10, 0, 0, 0x81}}, false}));

TEST(Link, WithoutCardemuTheDriverIsNotFound) {
    uint16_t port = 0;
    CloseSocket(ListenLoopback(0, port));  // a port nobody listens on
    LinkedProgram program(port);
    EXPECT_EQ(OpenDriver(program.driver), -1);
    EXPECT_FALSE(program.link.Connected());
}

}  // namespace
}  // namespace vz
