// Scenario statements: the card, devices, Masters, nodes, radio, spectrum, timings, seed, faults.
#include "emulator/core/scenario_parser.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "emulator/core/radio_model.h"
#include "emulator/core/radio_statements.h"

namespace vz {

namespace {

constexpr double kMinDbm = -120.0;
constexpr double kMaxDbm = 0.0;
constexpr double kMaxLatencyMs = 10000.0;
const MacAddress kBroadcast = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

bool Refuse(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool CheckUnused(const FieldReader& fields, const char* what, std::string& error) {
    const std::string unused = fields.FirstUnused();
    if (unused.empty()) {
        return true;
    }
    return Refuse(error, "unknown key '" + unused + "' for " + what);
}

bool ExpectWords(const LineTokens& tokens, size_t count, const char* usage, std::string& error) {
    if (tokens.words.size() != count) {
        return Refuse(error, std::string("usage: ") + usage);
    }
    return true;
}

// "12" or "12-20", within 1..kMaxFrequencyIndex.
bool ParseIndexRange(const std::string& text, int& first, int& last) {
    const size_t dash = text.find('-');
    long long a = 0, b = 0;
    if (dash == std::string::npos) {
        if (!ParseInteger(text, 1, kMaxFrequencyIndex, a)) {
            return false;
        }
        b = a;
    } else if (!ParseInteger(std::string_view(text).substr(0, dash), 1, kMaxFrequencyIndex, a) ||
               !ParseInteger(std::string_view(text).substr(dash + 1), 1, kMaxFrequencyIndex, b) ||
               b < a) {
        return false;
    }
    first = int(a);
    last = int(b);
    return true;
}

bool AddressInUse(const Scenario& scenario, const MacAddress& address) {
    if (address == scenario.card.address) {
        return true;
    }
    for (const auto& m : scenario.masters) {
        if (m.address == address) {
            return true;
        }
    }
    for (const auto& n : scenario.nodes) {
        if (n.address == address) {
            return true;
        }
    }
    return false;
}

bool ParseSystem(const LineTokens& t, Scenario& s, std::string& error) {
    if (t.words.size() < 2 || t.words.size() > 3 || !t.fields.empty()) {
        return Refuse(error, "usage: system win95|nt|win32s [MAJOR]");
    }
    const std::string& family = t.words[1];
    if (family == "win95") {
        s.system.platformId = kPlatformWindows95;
    } else if (family == "nt") {
        s.system.platformId = kPlatformWindowsNt;
    } else if (family == "win32s") {
        s.system.platformId = kPlatformWin32s;
    } else {
        return Refuse(error, "unknown system '" + family + "' (win95, nt or win32s)");
    }
    s.system.majorVersion = 4;
    if (t.words.size() == 3) {
        long long major = 0;
        if (!ParseInteger(t.words[2], 1, 99, major)) {
            return Refuse(error, "major version must be a number from 1 to 99");
        }
        s.system.majorVersion = uint32_t(major);
    }
    return true;
}

bool ParseDevice(const LineTokens& t, Scenario& s, std::string& error) {
    if (!t.fields.empty() || t.words.size() < 2) {
        return Refuse(error, "usage: device zeruve | device davuziro N");
    }
    if (t.words[1] == "zeruve" && t.words.size() == 2) {
        s.devices.windows95Device = true;
        return true;
    }
    long long n = 0;
    if (t.words[1] != "davuziro" || t.words.size() != 3) {
        return Refuse(error, "usage: device zeruve | device davuziro N");
    }
    if (!ParseInteger(t.words[2], 1, 999, n)) {
        return Refuse(error, "device number must be from 1 to 999");
    }
    if (std::find(s.devices.ntNumbers.begin(), s.devices.ntNumbers.end(), int(n)) !=
        s.devices.ntNumbers.end()) {
        return Refuse(error, "device davuziro " + t.words[2] + " is already defined");
    }
    s.devices.ntNumbers.push_back(int(n));
    return true;
}

bool ParseCard(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 1, "card address=ADDR driver=TEXT rom=TEXT country=N sensitivity=DBM",
                     error)) {
        return false;
    }
    CardSpec& card = s.card;
    FieldReader f(t);
    if (!f.Address("address", card.address, error)) {
        return false;
    }
    if (card.address == kBroadcast || card.address == MacAddress{}) {
        return Refuse(error, "the card's address may not be the broadcast or the zero address");
    }
    if (!f.Text("driver", kMaxDriverVersionLength, card.driverVersion, error)) {
        return false;
    }
    if (!f.Text("rom", kRomVersionLength, card.romVersion, error)) {
        return false;
    }
    if (!f.Integer("country", 0, 255, card.countryCode, error)) {
        return false;
    }
    if (!f.Real("sensitivity", kMinDbm, kMaxDbm, card.sensitivityDbm, error)) {
        return false;
    }
    return CheckUnused(f, "card", error);
}

bool ParseConfig(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 1, "config station=0..2 domain=0..15 ... (see SCENARIO.md)", error)) {
        return false;
    }
    CardConfig& c = s.card.config;
    FieldReader f(t);
    if (!f.Integer("station", 0, 2, c.stationType, error)) {
        return false;
    }
    if (!f.Integer("domain", 0, 15, c.domain, error)) {
        return false;
    }
    if (!f.Integer("channel", 1, 15, c.channel, error)) {
        return false;
    }
    if (!f.Integer("subchannel", 1, 15, c.subchannel, error)) {
        return false;
    }
    if (!f.Text("name", kMaxMasterNameLength, c.masterName, error)) {
        return false;
    }
    if (!f.Integer("roaming", 0, 1, c.roamingFlag, error)) {
        return false;
    }
    if (!f.Integer("roam-config", 0, 2, c.roamConfig, error)) {
        return false;
    }
    if (!f.Integer("mac", 0, 1, c.macOptimize, error)) {
        return false;
    }
    if (!f.Integer("inactivity", 0, 65535, c.inactivity, error)) {
        return false;
    }
    if (!f.Integer("peer-to-peer", 0, 1, c.peerToPeer, error)) {
        return false;
    }
    if (!f.Text("security-id", kMaxSecurityIdLength, c.securityId, error)) {
        return false;
    }
    return CheckUnused(f, "config", error);
}

bool ParseCalibration(const LineTokens& t, Scenario& s, std::string& error) {
    if (!t.fields.empty()) {
        return Refuse(error, "usage: calibration DBM:RAW ... | none");
    }
    std::vector<CalibrationEntry> points;
    if (t.words.size() == 2 && t.words[1] == "none") {
        s.card.calibration = points;
        return true;
    }
    if (t.words.size() < 2) {
        return Refuse(error, "calibration needs 1 to 10 points or 'none'");
    }
    if (t.words.size() - 1 > kMaxCalibrationEntries) {
        return Refuse(error, "calibration holds at most 10 points");
    }
    for (size_t i = 1; i < t.words.size(); ++i) {
        const std::string& w = t.words[i];
        const size_t colon = w.find(':');
        long long d = 0, r = 0;
        if (colon == std::string::npos ||
            !ParseInteger(std::string_view(w).substr(0, colon), 0, 255, d) ||
            !ParseInteger(std::string_view(w).substr(colon + 1), 0, 255, r)) {
            return Refuse(error, "calibration point '" + w +
                                     "' must be DBM:RAW (dBm below zero and raw reading, 0..255)");
        }
        points.push_back(CalibrationEntry{uint8_t(d), uint8_t(r)});
    }
    s.card.calibration = points;
    return true;
}

bool ParseMaster(const LineTokens& t, Scenario& s, StatementMode mode, std::string& error) {
    if (t.words.size() != 2) {
        return Refuse(error, "usage: master ADDR name=.. domain=.. ...");
    }
    MacAddress address{};
    if (!ParseMacAddress(t.words[1], address) || address == kBroadcast) {
        return Refuse(error, "'" + t.words[1] + "' is not a node address of 12 hexadecimal digits");
    }
    auto it = std::find_if(s.masters.begin(), s.masters.end(),
                           [&](const MasterSpec& m) { return m.address == address; });
    const bool exists = it != s.masters.end();
    if (exists && mode == StatementMode::kScenarioFile) {
        return Refuse(error, "master " + t.words[1] + " is already defined");
    }
    if (!exists && AddressInUse(s, address)) {
        return Refuse(error, "address " + t.words[1] + " is already used by the card or a node");
    }
    FieldReader f(t);
    if (!exists && (!f.Has("domain") || (!f.Has("signal") && !f.Has("position")))) {
        return Refuse(error, "a new master needs domain= and signal= (or position=)");
    }
    if (!exists && s.masters.size() >= kMaxScenarioMasters) {
        return Refuse(error, "at most 64 masters");
    }
    MasterSpec m = exists ? *it : MasterSpec{};
    m.address = address;
    if (!f.Text("name", kMaxMasterNameLength, m.name, error)) {
        return false;
    }
    if (!f.Integer("domain", 0, 15, m.domain, error)) {
        return false;
    }
    if (!f.Integer("channel", 1, 15, m.channel, error)) {
        return false;
    }
    if (!f.Integer("subchannel", 1, 15, m.subchannel, error)) {
        return false;
    }
    if (!f.Text("security-id", kMaxSecurityIdLength, m.securityId, error)) {
        return false;
    }
    if (!f.Real("signal", kMinDbm, kMaxDbm, m.signalDbm, error)) {
        return false;
    }
    if (!ReadStationRadioFields(f, s, m.placement, m.load, error)) {
        return false;
    }
    if (!f.Flag("silent", m.silent, error)) {
        return false;
    }
    if (!f.Real("answer", 0.0, 1.0, m.answer, error)) {
        return false;
    }
    if (!f.Real("latency", 0.0, kMaxLatencyMs, m.latencyMs, error)) {
        return false;
    }
    if (!f.Real("spread", 0.0, kMaxLatencyMs, m.spreadMs, error)) {
        return false;
    }
    if (!f.Real("loss", 0.0, 1.0, m.echoLoss, error)) {
        return false;
    }
    if (!CheckUnused(f, "master", error)) {
        return false;
    }
    if (exists) {
        *it = m;
    } else {
        s.masters.push_back(m);
    }
    return true;
}

bool ParseNode(const LineTokens& t, Scenario& s, StatementMode mode, std::string& error) {
    if (t.words.size() != 2) {
        return Refuse(error, "usage: node ADDR signal=DBM ...");
    }
    MacAddress address{};
    if (!ParseMacAddress(t.words[1], address) || address == kBroadcast) {
        return Refuse(error, "'" + t.words[1] + "' is not a node address of 12 hexadecimal digits");
    }
    auto it = std::find_if(s.nodes.begin(), s.nodes.end(),
                           [&](const NodeSpec& n) { return n.address == address; });
    const bool exists = it != s.nodes.end();
    if (exists && mode == StatementMode::kScenarioFile) {
        return Refuse(error, "node " + t.words[1] + " is already defined");
    }
    if (!exists && AddressInUse(s, address)) {
        return Refuse(error, "address " + t.words[1] + " is already used by the card or a master");
    }
    FieldReader f(t);
    if (!exists && !f.Has("signal") && !f.Has("position")) {
        return Refuse(error, "a new node needs signal= (or position=)");
    }
    if (!exists && s.nodes.size() >= kMaxScenarioNodes) {
        return Refuse(error, "at most 256 nodes");
    }
    NodeSpec n = exists ? *it : NodeSpec{};
    n.address = address;
    if (!f.Real("signal", kMinDbm, kMaxDbm, n.signalDbm, error)) {
        return false;
    }
    if (!ReadStationRadioFields(f, s, n.placement, n.load, error)) {
        return false;
    }
    if (!f.Real("answer", 0.0, 1.0, n.answer, error)) {
        return false;
    }
    if (!f.Real("latency", 0.0, kMaxLatencyMs, n.latencyMs, error)) {
        return false;
    }
    if (!f.Real("spread", 0.0, kMaxLatencyMs, n.spreadMs, error)) {
        return false;
    }
    if (!f.Real("loss", 0.0, 1.0, n.echoLoss, error)) {
        return false;
    }
    if (!f.Flag("silent", n.silent, error)) {
        return false;
    }
    if (f.Has("master")) {
        std::string cell;
        f.Text("master", 32, cell, error);
        if (cell == "any") {
            n.inOneCell = false;
        } else if (ParseMacAddress(cell, n.cellMaster)) {
            n.inOneCell = true;
            const bool known =
                std::any_of(s.masters.begin(), s.masters.end(),
                            [&](const MasterSpec& m) { return m.address == n.cellMaster; });
            if (!known) {
                return Refuse(error, "master " + cell + " is not defined (above)");
            }
        } else {
            return Refuse(error, "master must be a node address or 'any'");
        }
    }
    if (!CheckUnused(f, "node", error)) {
        return false;
    }
    if (exists) {
        *it = n;
    } else {
        s.nodes.push_back(n);
    }
    return true;
}

bool ParseSpectrum(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 1, "spectrum floor=DBM sigma=DB traffic=RATE", error)) {
        return false;
    }
    FieldReader f(t);
    if (!f.Real("floor", kMinDbm, kMaxDbm, s.spectrum.noiseFloorDbm, error)) {
        return false;
    }
    if (!f.Real("sigma", 0.0, 30.0, s.spectrum.noiseSigmaDb, error)) {
        return false;
    }
    if (!f.Real("traffic", 0.0, 1.0, s.spectrum.trafficRate, error)) {
        return false;
    }
    return CheckUnused(f, "spectrum", error);
}

bool ParseNoise(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 2, "noise INDEX[-INDEX] level=DBM", error)) {
        return false;
    }
    int first = 0, last = 0;
    if (!ParseIndexRange(t.words[1], first, last)) {
        return Refuse(error, "frequency index must be 1..100 or a range FROM-TO within it");
    }
    FieldReader f(t);
    if (!f.Has("level")) {
        return Refuse(error, "noise needs level=");
    }
    double level = 0;
    if (!f.Real("level", kMinDbm, kMaxDbm, level, error)) {
        return false;
    }
    if (!CheckUnused(f, "noise", error)) {
        return false;
    }
    // The range's levels replace what it held before and follow the others, in index order.
    auto& list = s.spectrum.noiseByIndex;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const std::pair<int, double>& e) {
                                  return e.first >= first && e.first <= last;
                              }),
               list.end());
    for (int i = first; i <= last; ++i) {
        list.emplace_back(i, level);
    }
    return true;
}

bool ParseInterferer(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 2, "interferer INDEX[-INDEX] level=DBM duty=0..1", error)) {
        return false;
    }
    Interferer in;
    if (!ParseIndexRange(t.words[1], in.first, in.last)) {
        return Refuse(error, "frequency index must be 1..100 or a range FROM-TO within it");
    }
    FieldReader f(t);
    if (!f.Has("level")) {
        return Refuse(error, "interferer needs level=");
    }
    if (!f.Real("level", kMinDbm, kMaxDbm, in.levelDbm, error)) {
        return false;
    }
    if (!f.Real("duty", 0.0, 1.0, in.duty, error)) {
        return false;
    }
    if (!CheckUnused(f, "interferer", error)) {
        return false;
    }
    if (s.spectrum.interferers.size() >= 32) {
        return Refuse(error, "at most 32 interferers");
    }
    s.spectrum.interferers.push_back(in);
    return true;
}

bool ParseTiming(const LineTokens& t, Scenario& s, std::string& error) {
    if (!ExpectWords(t, 1, "timing sync-ms=.. lock-ms=.. dwell-ms=.. service-us=..", error)) {
        return false;
    }
    Timings& tm = s.timing;
    FieldReader f(t);
    if (!f.Integer("sync-ms", 0, 600000, tm.syncMs, error)) {
        return false;
    }
    if (!f.Integer("lock-ms", 0, 600000, tm.lockMs, error)) {
        return false;
    }
    if (!f.Integer("dwell-ms", 1, 600000, tm.dwellMs, error)) {
        return false;
    }
    if (!f.Integer("service-us", 0, 1000000, tm.serviceUs, error)) {
        return false;
    }
    if (!f.Real("signal-noise-db", 0.0, 30.0, tm.signalNoiseDb, error)) {
        return false;
    }
    return CheckUnused(f, "timing", error);
}

bool ParseSeed(const LineTokens& t, Scenario& s, std::string& error) {
    long long seed = 0;
    if (t.words.size() != 2 || !t.fields.empty() ||
        !ParseInteger(t.words[1], 0, 9223372036854775807LL, seed)) {
        return Refuse(error, "usage: seed N (a whole number from 0)");
    }
    s.seed = uint64_t(seed);
    return true;
}

bool ApplyStatement(const LineTokens& t, Scenario& s, std::string& error) {
    const std::string& keyword = t.words[0];
    if (IsWorldStatement(keyword)) {
        return ApplyWorldStatement(t, s, StatementMode::kScenarioFile, error);
    }
    if (keyword == "system") {
        return ParseSystem(t, s, error);
    }
    if (keyword == "device") {
        return ParseDevice(t, s, error);
    }
    if (keyword == "card") {
        return ParseCard(t, s, error);
    }
    if (keyword == "config") {
        return ParseConfig(t, s, error);
    }
    if (keyword == "calibration") {
        return ParseCalibration(t, s, error);
    }
    if (keyword == "seed") {
        return ParseSeed(t, s, error);
    }
    if (keyword == "radio") {
        return ParseRadio(t, s, error);
    }
    if (keyword == "wall") {
        return ParseWall(t, s, error);
    }
    if (keyword == "card-at") {
        return ApplyCardAt(t, s, error);
    }
    if (keyword == "fault") {
        FaultSpec spec;
        if (!ParseFaultSpec(t, 1, spec, error)) {
            return false;
        }
        s.faults.push_back(spec);
        return true;
    }
    return Refuse(error, "unknown statement '" + keyword + "'");
}

}  // namespace

std::string ScenarioError::Text() const {
    if (line <= 0) {
        return reason;
    }
    return "line " + std::to_string(line) + ": " + reason;
}

Scenario DefaultScenario() {
    Scenario s;
    s.devices.ntNumbers.push_back(1);
    return s;
}

bool IsWorldStatement(const std::string& keyword) {
    return keyword == "master" || keyword == "node" || keyword == "spectrum" ||
           keyword == "noise" || keyword == "interferer" || keyword == "timing";
}

bool ApplyWorldStatement(const LineTokens& t, Scenario& s, StatementMode mode, std::string& error) {
    const std::string& keyword = t.words.empty() ? std::string() : t.words[0];
    if (keyword == "master") {
        return ParseMaster(t, s, mode, error);
    }
    if (keyword == "node") {
        return ParseNode(t, s, mode, error);
    }
    if (keyword == "spectrum") {
        return ParseSpectrum(t, s, error);
    }
    if (keyword == "noise") {
        return ParseNoise(t, s, error);
    }
    if (keyword == "interferer") {
        return ParseInterferer(t, s, error);
    }
    if (keyword == "timing") {
        return ParseTiming(t, s, error);
    }
    return Refuse(error, "unknown statement '" + keyword + "'");
}

bool ParseScenario(std::string_view text, Scenario& scenario, ScenarioError& error) {
    if (text.size() > kMaxScenarioFileSize) {
        error = ScenarioError{0, "scenario larger than 1 MiB"};
        return false;
    }
    Scenario parsed;
    bool anyDevice = false;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;

        LineTokens tokens;
        std::string reason;
        if (!TokenizeLine(line, tokens, reason)) {
            error = ScenarioError{lineNumber, reason};
            return false;
        }
        if (tokens.words.empty()) {
            if (!tokens.fields.empty()) {
                error = ScenarioError{lineNumber, "line starts with a key=value, not a statement"};
                return false;
            }
            continue;
        }
        if (tokens.words[0] == "device" && !anyDevice) {
            parsed.devices = DeviceSpec{};  // the file's devices replace the default one
            anyDevice = true;
        }
        if (!ApplyStatement(tokens, parsed, reason)) {
            error = ScenarioError{lineNumber, reason};
            return false;
        }
    }
    if (!anyDevice) {
        parsed.devices = DefaultScenario().devices;
    }
    PlaceStations(parsed);
    scenario = parsed;
    return true;
}

bool LoadScenarioFile(const std::string& path, Scenario& scenario, ScenarioError& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = ScenarioError{0, "cannot open scenario file '" + path + "'"};
        return false;
    }
    std::string text;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, size_t(in.gcount()));
        if (text.size() > kMaxScenarioFileSize) {
            error = ScenarioError{0, "scenario larger than 1 MiB"};
            return false;
        }
    }
    return ParseScenario(text, scenario, error);
}

}  // namespace vz
