// The Configuration dialog's display tables and their text conversions.
#include "zazivev/config/config_tables.h"

#include <algorithm>
#include <charconv>

#include "zazivev/texts.h"

namespace vz {

namespace {

ComboItems Numbers(int first, int last, int step) {
    ComboItems items;
    for (int n = first; n <= last; n += step) {
        items.push_back(std::to_string(n));
    }
    return items;
}

}  // namespace

const ComboItems& StationTypeItems() {
    static const ComboItems items{texts::kStationTypeStation, texts::kStationTypeAlternateMaster,
                                  texts::kStationTypeMaster};
    return items;
}

const ComboItems& MacOptimizeItems() {
    static const ComboItems items{texts::kMacOptimizeNormal, texts::kMacOptimizeLight};
    return items;
}

const ComboItems& RoamConfigItems() {
    static const ComboItems items{texts::kRoamConfigSlow, texts::kRoamConfigNormal,
                                  texts::kRoamConfigFast};
    return items;
}

const ComboItems& ChannelItems() {
    static const ComboItems items = Numbers(1, 15, 1);
    return items;
}

const ComboItems& DomainItems() {
    static const ComboItems items = Numbers(0, 15, 1);
    return items;
}

const ComboItems& InactivitySecItems() {
    static const ComboItems items = Numbers(0, 55, 5);
    return items;
}

const ComboItems& InactivityMinItems() {
    static const ComboItems items = Numbers(0, 60, 1);
    return items;
}

const char* StationTypeText(int stored) {
    switch (stored) {
        case 1:
            return texts::kStationTypeAlternateMaster;
        case 2:
            return texts::kStationTypeMaster;
        default:
            return texts::kStationTypeStation;
    }
}

const char* MacOptimizeText(int stored) {
    return stored != 0 ? texts::kMacOptimizeNormal : texts::kMacOptimizeLight;
}

const char* RoamConfigText(int stored) {
    switch (stored) {
        case 0:
            return texts::kRoamConfigSlow;
        case 1:
            return texts::kRoamConfigNormal;
        default:
            return texts::kRoamConfigFast;
    }
}

int StationTypeCode(std::string_view text) {
    if (text == texts::kStationTypeStation) {
        return 0;
    }
    return text == texts::kStationTypeAlternateMaster ? 1 : 2;
}

int RoamConfigCode(std::string_view text) {
    if (text == texts::kRoamConfigSlow) {
        return 0;
    }
    return text == texts::kRoamConfigNormal ? 1 : 2;
}

int MacOptimizeStored(std::string_view text) {
    return text == texts::kMacOptimizeLight ? 0 : 1;
}

int MacOptimizeIndex(std::string_view text) {
    return text == texts::kMacOptimizeNormal ? 0 : 1;
}

int DecimalValue(std::string_view text) {
    int value = 0;
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

bool IsListed(const ComboItems& items, std::string_view text) {
    return std::find(items.begin(), items.end(), text) != items.end();
}

}  // namespace vz
