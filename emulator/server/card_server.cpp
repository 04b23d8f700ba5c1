// Accepting clients, serving device frames and control lines, and stopping cleanly.
#include "emulator/server/card_server.h"

#include <chrono>

#include "emulator/server/device_session.h"
#include "emulator/wire/frame.h"
#include "emulator/wire/stream.h"

namespace vz {

namespace {

constexpr int kAcceptPollMs = 100;

}  // namespace

CardServer::CardServer(Emulator& emulator, std::mutex& cardLock)
    : emulator_(emulator), cardLock_(cardLock) {}

CardServer::~CardServer() {
    Stop();
}

bool CardServer::Start(uint16_t port) {
    if (!SocketStartup()) {
        return false;
    }
    listener_ = ListenLoopback(port, port_);
    if (listener_ == kInvalidSocket) {
        return false;
    }
    stopping_ = false;
    acceptor_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void CardServer::Stop() {
    if (listener_ == kInvalidSocket) {
        return;
    }
    stopping_ = true;
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    CloseSocket(listener_);
    listener_ = kInvalidSocket;
    std::list<Client> clients;
    {
        std::lock_guard<std::mutex> guard(clientsLock_);
        for (Client& c : clients_) {
            ShutdownSocket(c.socket);
        }
        clients.splice(clients.end(), clients_);
    }
    for (Client& c : clients) {
        if (c.thread.joinable()) {
            c.thread.join();
        }
        CloseSocket(c.socket);
    }
}

ServerStats CardServer::Stats() {
    std::lock_guard<std::mutex> guard(clientsLock_);
    ServerStats stats = stats_;
    stats.active = 0;
    for (const Client& c : clients_) {
        if (!c.done) {
            ++stats.active;
        }
    }
    return stats;
}

void CardServer::ReapFinished() {
    std::list<Client> finished;
    {
        std::lock_guard<std::mutex> guard(clientsLock_);
        for (auto it = clients_.begin(); it != clients_.end();) {
            auto next = std::next(it);
            if (it->done) {
                finished.splice(finished.end(), clients_, it);
            }
            it = next;
        }
    }
    for (Client& c : finished) {
        if (c.thread.joinable()) {
            c.thread.join();
        }
        CloseSocket(c.socket);
    }
}

void CardServer::AcceptLoop() {
    while (!stopping_) {
        if (WaitReadable(listener_, kAcceptPollMs) != 1) {
            continue;
        }
        const SocketHandle socket = AcceptConnection(listener_);
        if (socket == kInvalidSocket) {
            continue;
        }
        ReapFinished();
        std::lock_guard<std::mutex> guard(clientsLock_);
        if (stopping_ || clients_.size() >= kMaxClients) {
            ++stats_.refused;
            CloseSocket(socket);
            continue;
        }
        ++stats_.accepted;
        Client& client = clients_.emplace_back();
        client.socket = socket;
        client.thread = std::thread([this, &client] {
            Serve(client);
            // The peer learns at once that the connection is over; the handle itself is
            // closed when the thread is joined, so no other thread can meet a reused number.
            ShutdownSocket(client.socket);
            client.done = true;
        });
    }
}

void CardServer::Serve(Client& client) {
    std::vector<uint8_t> frame;
    const FrameRead first = ReceiveFrame(client.socket, frame, kMidFrameTimeoutMs);
    if (first == FrameRead::kClosed) {
        return;
    }
    if (first != FrameRead::kOk) {
        std::lock_guard<std::mutex> guard(clientsLock_);
        if (!stopping_) {
            ++stats_.malformed;
        }
        return;
    }
    WireRequest request;
    if (DecodeRequest(frame.data(), frame.size(), request) && request.op == WireOp::kControlOpen) {
        client.control = true;
        const std::vector<uint8_t> reply = FrameWriter(WireOp::kControlOpen, true).Finish();
        if (SendAll(client.socket, reply.data(), reply.size())) {
            ServeControl(client);
        }
        return;
    }
    ServeDevice(client, frame);
}

void CardServer::ServeDevice(Client& client, const std::vector<uint8_t>& firstFrame) {
    EmulatorDeviceIo session(emulator_, &cardLock_);
    // The driver's service time passes outside the card's lock, at microsecond grain.
    session.SetDelaySink(
        [](uint32_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); });
    std::vector<uint8_t> frame = firstFrame;
    std::vector<uint8_t> reply;
    WireRequest request;
    for (;;) {
        if (!DecodeRequest(frame.data(), frame.size(), request) ||
            request.op == WireOp::kControlOpen) {
            std::lock_guard<std::mutex> guard(clientsLock_);
            ++stats_.malformed;
            return;
        }
        if (!AnswerDeviceRequest(session, request, reply)) {
            std::lock_guard<std::mutex> guard(clientsLock_);
            ++stats_.faultDrops;
            return;
        }
        if (!SendAll(client.socket, reply.data(), reply.size())) {
            return;
        }
        const FrameRead next = ReceiveFrame(client.socket, frame, kMidFrameTimeoutMs);
        if (next == FrameRead::kClosed) {
            return;
        }
        if (next != FrameRead::kOk) {
            std::lock_guard<std::mutex> guard(clientsLock_);
            if (!stopping_) {
                ++stats_.malformed;
            }
            return;
        }
    }
}

void CardServer::ServeControl(Client& client) {
    std::string pending;
    std::string line;
    while (!stopping_) {
        if (!ReceiveLine(client.socket, line, kMaxControlLine, pending)) {
            if (pending.size() > kMaxControlLine) {
                const std::string refusal = "ERR line too long\n";
                SendAll(client.socket, reinterpret_cast<const uint8_t*>(refusal.data()),
                        refusal.size());
            }
            return;
        }
        if (line == "quit") {
            return;
        }
        const std::string answer = ControlLine(line) + "\n";
        if (!SendAll(client.socket, reinterpret_cast<const uint8_t*>(answer.data()),
                     answer.size())) {
            return;
        }
    }
}

std::string CardServer::ControlLine(const std::string& line) {
    if (line == "clients") {
        const ServerStats s = Stats();
        return "OK active=" + std::to_string(s.active) + " accepted=" + std::to_string(s.accepted) +
               " refused=" + std::to_string(s.refused) +
               " malformed=" + std::to_string(s.malformed) +
               " fault-drops=" + std::to_string(s.faultDrops);
    }
    std::string answer;
    {
        std::lock_guard<std::mutex> guard(cardLock_);
        answer = emulator_.Control(line);
    }
    if (line == "drop-clients" && answer == "OK") {
        DropDeviceClients();
    }
    return answer;
}

void CardServer::DropDeviceClients() {
    std::lock_guard<std::mutex> guard(clientsLock_);
    for (Client& c : clients_) {
        if (!c.control && !c.done) {
            ShutdownSocket(c.socket);
            ++stats_.faultDrops;
        }
    }
}

}  // namespace vz
