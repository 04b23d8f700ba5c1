// The radio's scenario statements (`radio`, `wall`, `card-at`) and the fields that place a station.
#pragma once

#include <string>

#include "emulator/core/scenario.h"
#include "emulator/core/text_fields.h"

namespace vz {

// The floor reaches this far from its origin in every direction, in metres.
constexpr double kMaxFloorMetres = 1000.0;
// The most of the channel one station's background traffic may take.
constexpr double kMaxStationLoad = 0.9;

bool ParseRadio(const LineTokens& tokens, Scenario& scenario, std::string& error);
bool ParseWall(const LineTokens& tokens, Scenario& scenario, std::string& error);
// `card-at X,Y`, in a scenario file or as a control command.
bool ApplyCardAt(const LineTokens& tokens, Scenario& scenario, std::string& error);
// The `position=` and `load=` fields of a master or node line. A position needs the radio line
// above and stands instead of `signal=`; `signal=` alone makes the station unplaced again.
bool ReadStationRadioFields(FieldReader& fields, const Scenario& scenario, Placement& placement,
                            double& load, std::string& error);

}  // namespace vz
