// The control language: change the world, inject faults, read counters and the card's state.
#include <algorithm>
#include <cstdio>

#include "emulator/core/emulator.h"
#include "emulator/core/radio_model.h"
#include "emulator/core/radio_statements.h"
#include "emulator/core/scenario_parser.h"

namespace vz {

namespace {

const char kHelp[] =
    "OK commands: master ADDR k=v.. | node ADDR k=v.. | spectrum k=v.. | noise IDX level=DBM | "
    "interferer IDX level=DBM duty=P | timing k=v.. | card-at X,Y | remove master|node ADDR | "
    "silence ADDR | unsilence ADDR | fault KIND k=v.. | fault clear | counters | reset-counters | "
    "state | drop-clients | eject | insert | help";

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string Emulator::Control(std::string_view line) {
    LineTokens tokens;
    std::string error;
    if (!TokenizeLine(line, tokens, error)) {
        return "ERR " + error;
    }
    if (tokens.words.empty()) {
        return "ERR empty command";
    }
    const std::string& verb = tokens.words[0];
    const bool bare = tokens.words.size() == 1 && tokens.fields.empty();

    if (IsWorldStatement(verb)) {
        // Work on a copy so a refused statement leaves the running world as it was.
        Scenario updated = world_;
        if (!ApplyWorldStatement(tokens, updated, StatementMode::kLiveUpdate, error)) {
            return "ERR " + error;
        }
        world_.masters = updated.masters;
        world_.nodes = updated.nodes;
        world_.spectrum = updated.spectrum;
        world_.timing = updated.timing;
        PlaceStations(world_);
        link_.Update(clock_.NowMs());
        return "OK";
    }
    if (verb == "fault") {
        if (tokens.words.size() == 2 && tokens.words[1] == "clear" && tokens.fields.empty()) {
            faults_.Clear();
            return "OK";
        }
        FaultSpec spec;
        if (!ParseFaultSpec(tokens, 1, spec, error)) {
            return "ERR " + error;
        }
        faults_.Add(spec);
        return "OK";
    }
    if (verb == "card-at") {
        return ControlCardAt(tokens);
    }
    if (verb == "remove") {
        return ControlRemove(tokens.words);
    }
    if ((verb == "silence" || verb == "unsilence") && tokens.words.size() == 2 &&
        tokens.fields.empty()) {
        return ControlSilence(tokens.words[1], verb == "silence");
    }
    if (verb == "counters" && bare) {
        return ControlCounters();
    }
    if (verb == "reset-counters" && bare) {
        counters_ = EmulatorCounters{};
        faults_.ResetCounts();
        return "OK";
    }
    if (verb == "state" && bare) {
        return ControlState();
    }
    if (verb == "drop-clients" && bare) {
        ++dropEpoch_;
        return "OK";
    }
    if ((verb == "eject" || verb == "insert") && bare) {
        // A card pulled out takes its connections along; no device opens until it is back.
        cardOut_ = verb == "eject";
        dropEpoch_ += cardOut_ ? 1 : 0;
        return "OK";
    }
    if (verb == "help" && bare) {
        return kHelp;
    }
    return "ERR unknown command '" + verb + "' (try help)";
}

std::string Emulator::ControlRemove(const std::vector<std::string>& words) {
    MacAddress address{};
    if (words.size() != 3 || (words[1] != "master" && words[1] != "node") ||
        !ParseMacAddress(words[2], address)) {
        return "ERR usage: remove master|node ADDR";
    }
    if (words[1] == "master") {
        auto& list = world_.masters;
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const MasterSpec& m) { return m.address == address; });
        if (it == list.end()) {
            return "ERR no master " + words[2];
        }
        list.erase(it);  // nodes of its cell go quiet with it, as Cell() finds no Master
    } else {
        auto& list = world_.nodes;
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const NodeSpec& n) { return n.address == address; });
        if (it == list.end()) {
            return "ERR no node " + words[2];
        }
        list.erase(it);
    }
    link_.Update(clock_.NowMs());
    return "OK";
}

std::string Emulator::ControlSilence(const std::string& addressText, bool silent) {
    MacAddress address{};
    if (!ParseMacAddress(addressText, address)) {
        return "ERR usage: silence|unsilence ADDR";
    }
    for (MasterSpec& m : world_.masters) {
        if (m.address == address) {
            m.silent = silent;
            link_.Update(clock_.NowMs());
            return "OK";
        }
    }
    for (NodeSpec& n : world_.nodes) {
        if (n.address == address) {
            n.silent = silent;
            return "OK";
        }
    }
    return "ERR no master or node " + addressText;
}

std::string Emulator::ControlCardAt(const LineTokens& tokens) {
    Scenario updated = world_;
    std::string error;
    if (!ApplyCardAt(tokens, updated, error)) {
        return "ERR " + error;
    }
    // Every placed station's level follows the card at once.
    world_.card.at = updated.card.at;
    PlaceStations(world_);
    link_.Update(clock_.NowMs());
    return "OK";
}

std::string Emulator::ControlCounters() const {
    std::string out = "OK";
    uint64_t total = 0;
    for (uint64_t n : counters_.requests) {
        total += n;
    }
    out += " total=" + std::to_string(total);
    for (size_t c = 0; c < counters_.requests.size(); ++c) {
        if (counters_.requests[c] == 0) {
            continue;
        }
        out += " cmd" + std::to_string(c) + "=" + std::to_string(counters_.requests[c]);
    }
    out += " opens=" + std::to_string(counters_.opens);
    out += " failed-opens=" + std::to_string(counters_.failedOpens);
    out += " closes=" + std::to_string(counters_.closes);
    out += " malformed-lists=" + std::to_string(counters_.malformedLists);
    for (size_t k = 0; k < kFaultKindCount; ++k) {
        out += std::string(" fired-") + FaultKindName(FaultKind(k)) + "=" +
               std::to_string(faults_.Fired(FaultKind(k)));
    }
    out += " pending-faults=" + std::to_string(faults_.Pending());
    out += " dropped-replies=" + std::to_string(pings_.DroppedReplies());
    return out;
}

std::string Emulator::ControlState() {
    const uint32_t now = clock_.NowMs();
    link_.Update(now);
    std::string master = "000000000000";
    std::string masterName;
    if (link_.SyncedToSelf()) {
        master = FormatMacAddress(world_.card.address);
        masterName = config_.masterName;
    } else if (const MasterSpec* m = link_.CurrentMaster()) {
        master = FormatMacAddress(m->address);
        masterName = m->name;
    }
    char numbers[256];
    std::snprintf(numbers, sizeof numbers,
                  " synced=%d station=%d active-station=%d domain=%d channel=%d subchannel=%d "
                  "roaming=%d roam-config=%d mac=%d inactivity=%d peer-to-peer=%d initialised=%d "
                  "released=%d parked=%d search-domain=%d now=%u",
                  link_.Synced() ? (link_.SyncedToSelf() ? 2 : 1) : 0, config_.stationType,
                  link_.ActiveStationType(), config_.domain, config_.channel, config_.subchannel,
                  config_.roamingFlag, config_.roamConfig, config_.macOptimize, config_.inactivity,
                  config_.peerToPeer, initialised_ ? 1 : 0, released_ ? 1 : 0, parkedFrequency_,
                  link_.SearchDomain(), now);
    return std::string("OK mode=") + LinkModeName(link_.Mode()) + numbers + " master=" + master +
           " master-name=" + Quote(masterName) + " name=" + Quote(config_.masterName) +
           " security-id=" + Quote(config_.securityId);
}

}  // namespace vz
