// status: the card, its Master and its domain, read once.
#include "driver/card_text.h"
#include "driver/status_queries.h"
#include "vzsurvey/run/commands.h"

namespace vz {

namespace {

// The driver pads its version texts with blanks.
Value TrimmedText(const char (&text)[32]) {
    std::string trimmed = FieldText(text);
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    return TextOrNull(trimmed.c_str());
}

}  // namespace

Record RunStatus(ProgramContext& context) {
    Driver& driver = context.driver;
    char driverVersion[32] = {};
    char romVersion[32] = {};
    const bool versionRead = GetDriverVersion(driver, driverVersion) == Status::kOk;
    const bool romRead = GetVersion(driver, romVersion) == Status::kOk;
    MasterReading master;
    const bool masterRead = GetMasterNode(driver, master) == Status::kOk;
    const Configured configured = ReadConfiguration(context);

    const Value none;
    Record summary;
    summary.fields = {
        {"driver_version", versionRead ? TrimmedText(driverVersion) : none},
        {"node_address", masterRead ? TextOrNull(master.nodeAddress) : none},
        {"rom_version", romRead ? TrimmedText(romVersion) : none},
        {"synchronised", masterRead ? Value(master.syncState != 0) : none},
        {"master_address", masterRead ? TextOrNull(master.address) : none},
        {"master_name", masterRead ? TextOrNull(master.name) : none},
        {"domain", configured.found ? Value(int64_t{configured.domain}) : none},
    };
    return summary;
}

}  // namespace vz
