// The control client: one connection, one answer line per command line.
#include "emulator/server/control_client.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "emulator/link/emulator_link.h"
#include "emulator/wire/frame.h"
#include "emulator/wire/stream.h"

namespace vz {

namespace {

constexpr int kAnswerWaitMs = 10000;
constexpr size_t kMaxAnswerLine = 8192;

}  // namespace

ControlConnection::~ControlConnection() {
    Close();
}

bool ControlConnection::Open(uint16_t port) {
    Close();
    if (!SocketStartup()) {
        return false;
    }
    socket_ = ConnectLoopback(port);
    if (socket_ == kInvalidSocket) {
        return false;
    }
    FrameWriter frame(WireOp::kControlOpen);
    frame.Bytes(reinterpret_cast<const uint8_t*>(kControlMagic), std::strlen(kControlMagic));
    const auto& bytes = frame.Finish();
    std::vector<uint8_t> reply;
    if (!SendAll(socket_, bytes.data(), bytes.size()) ||
        WaitReadable(socket_, kAnswerWaitMs) != 1 ||
        ReceiveFrame(socket_, reply, kAnswerWaitMs) != FrameRead::kOk || reply.size() != 1 ||
        reply[0] != (uint8_t(WireOp::kControlOpen) | kWireReplyBit)) {
        Close();
        return false;
    }
    return true;
}

std::string ControlConnection::Send(const std::string& command) {
    if (socket_ == kInvalidSocket) {
        return {};
    }
    const std::string line = command + "\n";
    std::string answer;
    if (!SendAll(socket_, reinterpret_cast<const uint8_t*>(line.data()), line.size()) ||
        WaitReadable(socket_, kAnswerWaitMs) != 1 ||
        !ReceiveLine(socket_, answer, kMaxAnswerLine, pending_)) {
        Close();
        return {};
    }
    return answer;
}

void ControlConnection::Close() {
    if (socket_ == kInvalidSocket) {
        return;
    }
    CloseSocket(socket_);
    socket_ = kInvalidSocket;
    pending_.clear();
}

bool ControlCommandsFromArguments(const std::vector<std::string>& arguments,
                                  std::vector<std::string>& commands) {
    commands.clear();
    if (arguments.empty()) {
        return true;
    }
    if (arguments[0] != "-e") {
        std::string joined;
        for (const std::string& word : arguments) {
            if (word == "-e") {
                return false;
            }
            joined += (joined.empty() ? "" : " ") + word;
        }
        commands.push_back(joined);
        return true;
    }
    for (size_t i = 0; i < arguments.size(); i += 2) {
        if (arguments[i] != "-e" || i + 1 == arguments.size()) {
            return false;
        }
        commands.push_back(arguments[i + 1]);
    }
    return true;
}

int RunControlClient(const std::string& address, const std::vector<std::string>& arguments,
                     std::istream& input, std::ostream& output, std::ostream& errors) {
    std::vector<std::string> commands;
    if (!ControlCommandsFromArguments(arguments, commands)) {
        errors << "cardemu: give one command as words, or each command after its own -e\n";
        return 2;
    }
    uint16_t port = 0;
    if (!ParseEmulatorAddress(address.c_str(), port)) {
        errors << "cardemu: '" << address << "' is not 127.0.0.1:PORT\n";
        return 2;
    }
    ControlConnection connection;
    if (!connection.Open(port)) {
        errors << "cardemu: cannot reach cardemu at " << address << "\n";
        return 2;
    }
    bool allOk = true;
    auto run = [&](const std::string& command) {
        const std::string answer = connection.Send(command);
        if (answer.empty()) {
            errors << "cardemu: connection lost\n";
            allOk = false;
            return false;
        }
        output << answer << "\n";
        if (answer.compare(0, 2, "OK") != 0) {
            allOk = false;
        }
        return true;
    };
    if (!commands.empty()) {
        for (const std::string& c : commands) {
            if (!run(c)) {
                return 1;
            }
        }
    } else {
        std::string line;
        while (std::getline(input, line)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) {
                continue;
            }
            if (!run(line)) {
                return 1;
            }
        }
    }
    return allOk ? 0 : 1;
}

}  // namespace vz
