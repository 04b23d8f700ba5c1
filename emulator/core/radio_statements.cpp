// Reading `radio`, `wall`, `card-at`, and a station's `position=` and `load=`, bounded.
#include "emulator/core/radio_statements.h"

namespace vz {

namespace {

bool Refuse(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

// "X,Y" in metres, each within the floor.
bool ParseFloorPoint(const std::string& text, FloorPoint& point) {
    const size_t comma = text.find(',');
    return comma != std::string::npos &&
           ParseReal(std::string_view(text).substr(0, comma), -kMaxFloorMetres, kMaxFloorMetres,
                     point.x) &&
           ParseReal(std::string_view(text).substr(comma + 1), -kMaxFloorMetres, kMaxFloorMetres,
                     point.y);
}

bool RefusePoint(std::string& error, const std::string& text) {
    return Refuse(error, "'" + text + "' is not a place X,Y in metres within -1000..1000");
}

bool NeedRadio(const Scenario& scenario, const char* what, std::string& error) {
    return scenario.radio.enabled || Refuse(error, std::string(what) + " needs a radio line above");
}

}  // namespace

bool ParseRadio(const LineTokens& t, Scenario& s, std::string& error) {
    if (t.words.size() != 1) {
        return Refuse(error, "usage: radio tx-dbm=DBM exponent=N rate-kbps=N retries=N");
    }
    if (s.radio.enabled) {
        return Refuse(error, "the radio is already defined");
    }
    RadioSpec& r = s.radio;
    FieldReader f(t);
    if (!f.Real("tx-dbm", -30.0, 30.0, r.txDbm, error) ||
        !f.Real("exponent", 1.5, 6.0, r.exponent, error) ||
        !f.Integer("rate-kbps", 50, 11000, r.rateKbps, error) ||
        !f.Integer("retries", 0, 15, r.retries, error)) {
        return false;
    }
    const std::string unused = f.FirstUnused();
    if (!unused.empty()) {
        return Refuse(error, "unknown key '" + unused + "' for radio");
    }
    r.enabled = true;
    return true;
}

bool ParseWall(const LineTokens& t, Scenario& s, std::string& error) {
    if (!NeedRadio(s, "a wall", error)) {
        return false;
    }
    Wall wall;
    if (t.words.size() != 3) {
        return Refuse(error, "usage: wall X1,Y1 X2,Y2 loss-db=DB");
    }
    if (!ParseFloorPoint(t.words[1], wall.from)) {
        return RefusePoint(error, t.words[1]);
    }
    if (!ParseFloorPoint(t.words[2], wall.to)) {
        return RefusePoint(error, t.words[2]);
    }
    if (wall.from.x == wall.to.x && wall.from.y == wall.to.y) {
        return Refuse(error, "a wall needs two different ends");
    }
    FieldReader f(t);
    if (!f.Has("loss-db")) {
        return Refuse(error, "a wall needs loss-db=");
    }
    if (!f.Real("loss-db", 0.0, 60.0, wall.lossDb, error)) {
        return false;
    }
    const std::string unused = f.FirstUnused();
    if (!unused.empty()) {
        return Refuse(error, "unknown key '" + unused + "' for wall");
    }
    if (s.radio.walls.size() >= kMaxWalls) {
        return Refuse(error, "at most 64 walls");
    }
    s.radio.walls.push_back(wall);
    return true;
}

bool ApplyCardAt(const LineTokens& t, Scenario& s, std::string& error) {
    if (!NeedRadio(s, "card-at", error)) {
        return false;
    }
    if (t.words.size() != 2 || !t.fields.empty()) {
        return Refuse(error, "usage: card-at X,Y");
    }
    if (!ParseFloorPoint(t.words[1], s.card.at)) {
        return RefusePoint(error, t.words[1]);
    }
    return true;
}

bool ReadStationRadioFields(FieldReader& f, const Scenario& s, Placement& placement, double& load,
                            std::string& error) {
    if (f.Has("position")) {
        if (f.Has("signal")) {
            return Refuse(error, "give signal= or position=, not both");
        }
        if (!NeedRadio(s, "position=", error)) {
            return false;
        }
        std::string text;
        if (!f.Text("position", 32, text, error)) {
            return false;
        }
        if (!ParseFloorPoint(text, placement.at)) {
            return RefusePoint(error, text);
        }
        placement.placed = true;
    } else if (f.Has("signal")) {
        placement.placed = false;
    }
    if (f.Has("load") && !NeedRadio(s, "load=", error)) {
        return false;
    }
    return f.Real("load", 0.0, kMaxStationLoad, load, error);
}

}  // namespace vz
