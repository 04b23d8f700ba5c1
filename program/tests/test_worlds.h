// The worlds the programs' tests share: the card every scenario starts from, the survey's cell,
// and the adapter's registry key.
#pragma once

#include <string>

namespace vz {

// The card every scenario starts from.
inline const std::string kCard = R"(
system nt 4
device davuziro 1
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
calibration 40:200 80:100
)";

// `scenario` with its first `from` replaced by `to`.
inline std::string Edited(std::string scenario, const std::string& from, const std::string& to) {
    scenario.replace(scenario.find(from), from.size(), to);
    return scenario;
}

inline constexpr char kParameters[] = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";

// The Master, four nodes (one answering late), and a stronger Master the card roams to when Lobby
// goes quiet.
inline const std::string kSurveyScenario =
    kCard + R"(config station=0 domain=3 roaming=0 security-id=""
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48 latency=2 spread=0
master 00a0d4010002 name="Annex" domain=3 channel=7 subchannel=1 signal=-60 latency=2 spread=0
node 00a0d41000AB signal=-44 latency=7 spread=0
node 00a0d4100003 signal=-64 latency=20 spread=3
node 00a0d4100002 signal=-70 answer=0.5 latency=3 spread=1
node 00a0d4100004 signal=-50 latency=300 spread=0
timing sync-ms=0 lock-ms=0 service-us=0 signal-noise-db=0
seed 7
)";

}  // namespace vz
