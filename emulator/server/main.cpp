// cardemu: the card emulator server, and its control client mode.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emulator/core/emulator.h"
#include "emulator/core/scenario_parser.h"
#include "emulator/server/card_server.h"
#include "emulator/server/control_client.h"
#include "platform/steady_clock.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnStopSignal(int) {
    gStop = 1;
}

const char kUsage[] =
    "usage: cardemu [--scenario FILE] [--port N] [--seed N]\n"
    "       cardemu --check FILE\n"
    "       cardemu --control 127.0.0.1:PORT [WORD ...]    (the words are one command)\n"
    "       cardemu --control 127.0.0.1:PORT -e COMMAND [-e COMMAND ...]\n"
    "       cardemu --control 127.0.0.1:PORT               (commands from stdin, one a line)\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool ParsePort(const char* text, uint16_t& port) {
    long long n = 0;
    if (!vz::ParseInteger(text, 0, 65535, n)) {
        return false;
    }
    port = uint16_t(n);
    return true;
}

int RunServer(const vz::Scenario& scenario, uint16_t port, const std::string& source) {
    vz::SteadyClock clock;
    vz::Emulator emulator(scenario, clock);
    std::mutex cardLock;
    vz::CardServer server(emulator, cardLock);
    if (!server.Start(port)) {
        std::fprintf(stderr, "cardemu: cannot listen on 127.0.0.1:%u\n", unsigned(port));
        return 1;
    }
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGINT, OnStopSignal);
    // The first line of standard output is the port, for scripts that asked for port 0.
    std::printf("%u\n", unsigned(server.Port()));
    std::fflush(stdout);
    std::fprintf(stderr, "cardemu: listening on 127.0.0.1:%u with %s\n", unsigned(server.Port()),
                 source.c_str());
    while (!gStop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.Stop();
    std::fprintf(stderr, "cardemu: stopped\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--control") {
        if (args.size() < 2) {
            return Usage();
        }
        const std::vector<std::string> arguments(args.begin() + 2, args.end());
        return vz::RunControlClient(args[1], arguments, std::cin, std::cout, std::cerr);
    }
    if (args.size() == 2 && args[0] == "--check") {
        vz::Scenario scenario;
        vz::ScenarioError error;
        if (!vz::LoadScenarioFile(args[1], scenario, error)) {
            std::fprintf(stderr, "%s: %s\n", args[1].c_str(), error.Text().c_str());
            return 1;
        }
        std::printf("%s: OK\n", args[1].c_str());
        return 0;
    }

    vz::Scenario scenario = vz::DefaultScenario();
    std::string source = "the built-in scenario";
    uint16_t port = 0;
    bool seedGiven = false;
    uint64_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--scenario" && hasValue) {
            vz::ScenarioError error;
            if (!vz::LoadScenarioFile(args[++i], scenario, error)) {
                std::fprintf(stderr, "%s: %s\n", args[i].c_str(), error.Text().c_str());
                return 1;
            }
            source = args[i];
        } else if (args[i] == "--port" && hasValue) {
            if (!ParsePort(args[++i].c_str(), port)) {
                return Usage();
            }
        } else if (args[i] == "--seed" && hasValue) {
            long long n = 0;
            if (!vz::ParseInteger(args[++i], 0, 9223372036854775807LL, n)) {
                return Usage();
            }
            seed = uint64_t(n);
            seedGiven = true;
        } else {
            return Usage();
        }
    }
    if (seedGiven) {
        scenario.seed = seed;
    }
    return RunServer(scenario, port, source);
}
