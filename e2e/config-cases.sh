# Sourced by e2e/run: the Configuration dialog, the security ID and Get Settings, from the tool's
# main dialog; what OK leaves in the registry and on the emulated card.

config="Configuration"
config_adapter_key='HKLM\System\CurrentControlSet\Services\davuziro\Parameters'

# The ids of a group of controls, for one `probe enabled-ids`.
config_ids() {
    local name
    for name in "$@"; do tool_id "$name"; done
}
config_master_ids=$(config_ids IDC_CONFIG_MASTER_NAME IDC_CONFIG_MASTER_NAME_LABEL \
    IDC_CONFIG_CHANNEL IDC_CONFIG_CHANNEL_LABEL IDC_CONFIG_SUBCHANNEL IDC_CONFIG_SUBCHANNEL_LABEL \
    IDC_CONFIG_MAC_OPTIMIZE IDC_CONFIG_MAC_LABEL)
config_roaming_ids=$(config_ids IDC_CONFIG_ROAM_CONFIG IDC_CONFIG_ROAM_LABEL \
    IDC_CONFIG_INACTIVITY_SEC IDC_CONFIG_INACTIVITY_SEC_LABEL IDC_CONFIG_INACTIVITY_MIN \
    IDC_CONFIG_INACTIVITY_MIN_LABEL IDC_CONFIG_PEER_TO_PEER)

expect_equal() {  # expect_equal WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || { echo "  $1: \"$2\", expected \"$3\""; return 1; }
}

# expect_layout STATION_TYPE MASTER_STATE ROAMING_STATE: the selected type, and 1 or 0 for
# every control of each group, with Peer To Peer ticked.
expect_layout() {
    local selected
    selected=$(probe combo "$config" "$(tool_id IDC_CONFIG_STATION_TYPE)" | head -1)
    expect_equal "station type" "$selected" "$1" &&
        expect_equal "$1 Master controls" \
            "$(probe enabled-ids "$config" $config_master_ids)" "$2" &&
        expect_equal "$1 roaming controls" \
            "$(probe enabled-ids "$config" $config_roaming_ids)" "$3" &&
        expect_equal "$1 Peer To Peer" \
            "$(probe checked "$config" "$(tool_id IDC_CONFIG_PEER_TO_PEER)")" 1
}

open_configuration() {
    probe click "$tool" "$(tool_id IDC_MAIN_CONFIGURATION)" && probe wait "$config" 15000
}

config_select() { probe select "$config" "$(tool_id "$1")" "$2"; }

# "TYPE DATA" of a value of the adapter's key, as reg query shows it.
reg_value() {
    timeout 60 "$VZ_WINE" reg query "$config_adapter_key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { print $2, $3 }'
}

emulator_state() { "$host_build/emulator/cardemu" --control "127.0.0.1:$EMULATOR_PORT" state; }

# expect_state FIELD=VALUE...: each appears in the card's state within 10 s (the security ID
# arrives from a worker thread after its dialog has gone).
expect_state() {
    local state field missing
    for _ in $(seq 50); do
        state=$(emulator_state)
        missing=""
        for field in "$@"; do
            [[ " $state " == *" $field "* ]] || missing="$missing $field"
        done
        [ -z "$missing" ] && return 0
        sleep 0.2
    done
    echo "  state lacks$missing: $state"
    return 1
}

# The start-up check that follows a sub-dialog has finished.
wait_check_done() { probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "ROM version" 60000; }

case_config_layouts_and_ok_reach_registry_and_card() {
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to" 60000 &&
        open_configuration || return 1
    local items
    items=$(probe combo "$config" "$(tool_id IDC_CONFIG_STATION_TYPE)" | tail -n +2 | paste -sd,)
    expect_equal "station types" "$items" "Station,Alternate Master,Master" &&
        expect_layout Station "0 0 0 0 0 0 0 0" "1 1 1 1 1 1 1" &&
        expect_equal "Very Advanced shown" \
            "$(probe shown "$config" "$(tool_id IDC_CONFIG_VERY_ADVANCED)")" 0 &&
        screenshot config-station &&
        config_select IDC_CONFIG_STATION_TYPE Master && sleep 0.5 &&
        expect_layout Master "1 1 1 1 1 1 1 1" "0 0 0 0 0 0 0" &&
        screenshot config-master &&
        config_select IDC_CONFIG_STATION_TYPE "Alternate Master" && sleep 0.5 &&
        expect_layout "Alternate Master" "1 1 1 1 1 1 1 1" "1 1 1 1 1 1 1" &&
        screenshot config-alternate-master || return 1
    # Alt+letters move the focus to the controls they stand for.
    local key name
    for key in T:STATION_TYPE M:MASTER_NAME L:CHANNEL U:SUBCHANNEL N:DOMAIN O:MAC_OPTIMIZE \
        R:ROAM_CONFIG I:INACTIVITY_SEC V:INACTIVITY_MIN; do
        name=IDC_CONFIG_${key#*:}
        probe alt-key "${key%%:*}" && sleep 0.3 &&
            expect_equal "focus after Alt+${key%%:*}" "$(probe focus "$config")" "$(tool_id "$name")" ||
            return 1
    done
    # A right-button double click on the dialog's surface shows the hidden button.
    probe post "$config" 0x206 0 0x00780008 && sleep 0.5 &&
        expect_equal "Very Advanced shown" \
            "$(probe shown "$config" "$(tool_id IDC_CONFIG_VERY_ADVANCED)")" 1 || return 1
    config_select IDC_CONFIG_CHANNEL 9 &&
        config_select IDC_CONFIG_SUBCHANNEL 4 &&
        config_select IDC_CONFIG_MAC_OPTIMIZE Light &&
        config_select IDC_CONFIG_ROAM_CONFIG Fast &&
        config_select IDC_CONFIG_INACTIVITY_SEC 45 &&
        config_select IDC_CONFIG_INACTIVITY_MIN 2 &&
        probe click "$config" "$(tool_id IDC_CONFIG_OK)" &&
        probe gone "$config" 15000 || return 1
    expect_state station=1 channel=9 subchannel=4 mac=1 roam-config=2 inactivity=33 \
        peer-to-peer=1 domain=3 name=\"MASTER\" &&
        expect_equal Station_Type "$(reg_value Station_Type)" "REG_DWORD 0x1" &&
        expect_equal Channel "$(reg_value Channel)" "REG_DWORD 0x9" &&
        expect_equal Subchannel "$(reg_value Subchannel)" "REG_DWORD 0x4" &&
        expect_equal Mac_Optimize "$(reg_value Mac_Optimize)" "REG_DWORD 0x0" &&
        expect_equal Roam_Config "$(reg_value Roam_Config)" "REG_DWORD 0x2" &&
        expect_equal Inactivity_Sec "$(reg_value Inactivity_Sec)" "REG_DWORD 0x2d" &&
        expect_equal Inactivity_Min "$(reg_value Inactivity_Min)" "REG_DWORD 0x2" &&
        expect_equal Peer_to_Peer "$(reg_value Peer_to_Peer)" "REG_DWORD 0x1" &&
        expect_equal Domain "$(reg_value Domain)" "REG_DWORD 0x3" &&
        expect_equal Master_Name "$(reg_value Master_Name)" "REG_SZ MASTER"
}

case_config_survives_cardemu_restarting_while_open() {
    wait_check_done && open_configuration && restart_emulator &&
        config_select IDC_CONFIG_STATION_TYPE Station &&
        probe click "$config" "$(tool_id IDC_CONFIG_OK)" &&
        probe gone "$config" 15000 &&
        expect_equal Station_Type "$(reg_value Station_Type)" "REG_DWORD 0x0" &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" \
            "Synchronized to 00a0d4010001  Lobby" 60000
}

case_security_id_synchronises_the_card_to_the_secure_master() {
    local entry="Security ID" warning="Vezurez Setup" text
    wait_check_done && open_configuration &&
        probe click "$config" "$(tool_id IDC_CONFIG_SET_SECURITY_ID)" &&
        probe wait "$warning" 15000 || return 1
    text=$(probe statics "$warning")
    expect_equal "warning" "$text" 'Warning:  Vezurez cards communicate only with other Vezurez \ncards with the same Security ID. \n\nBe sure to set the Security ID on all \nVezurez cards in the same sub-network to the same value.' &&
        screenshot setup-warning &&
        probe click "$warning" "$(tool_id IDC_SETUP_WARNING_CONTINUE)" &&
        probe wait "$entry" 15000 &&
        expect_equal "entry" "$(probe text "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)")" "" &&
        probe type "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)" abcdefghijklmnopqrstuvwxyz &&
        probe wait-text "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)" abcdefghijklmnopqrst 5000 &&
        expect_equal "entry limit" "$(probe text "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)")" \
            abcdefghijklmnopqrst &&
        probe type "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)" "$(printf '\b%.0s' {1..20})orchid" &&
        probe wait-text "$entry" "$(tool_id IDC_SECURITY_ID_EDIT)" orchid 5000 &&
        screenshot security-id &&
        probe click "$entry" "$(tool_id IDC_SECURITY_ID_OK)" &&
        probe gone "$entry" 15000 &&
        probe gone "$warning" 15000 &&
        expect_state security-id=\"orchid\" &&
        probe click "$config" "$(tool_id IDCANCEL)" &&
        probe gone "$config" 15000 &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" \
            "Synchronized to 00a0d4030001  Secure" 60000 &&
        screenshot config-secure-master
}

case_get_settings_shows_the_cards_facts() {
    local facts="Get Settings"
    wait_check_done && open_configuration &&
        probe click "$config" "$(tool_id IDC_CONFIG_GET_SETTINGS)" &&
        probe wait "$facts" 15000 &&
        expect_equal "node address" \
            "$(probe text "$facts" "$(tool_id IDC_GET_SETTINGS_NODE_ADDRESS)")" 00a0d41a2b3c &&
        expect_equal "ROM version" \
            "$(probe text "$facts" "$(tool_id IDC_GET_SETTINGS_ROM_VERSION)")" "V1.49b " &&
        expect_equal "country code" \
            "$(probe text "$facts" "$(tool_id IDC_GET_SETTINGS_COUNTRY_CODE)")" 0 &&
        probe wait-text "$facts" "$(tool_id IDC_GET_SETTINGS_RSSI_MAP)" "<-35dBm:215>" 5000 &&
        screenshot get-settings &&
        probe click "$facts" "$(tool_id IDOK)" &&
        probe gone "$facts" 15000 &&
        probe click "$config" "$(tool_id IDCANCEL)" &&
        probe gone "$config" 15000
}

# The adapter's key as e2e_start_wine left it, for the case files that follow.
config_restore_registry() {
    local name
    stop_tool
    for name in Channel Subchannel Mac_Optimize Roam_Config Inactivity_Sec Inactivity_Min \
        Peer_to_Peer; do
        wine_quiet reg delete "$config_adapter_key" /v "$name" /f
    done
    wine_quiet reg add "$config_adapter_key" /v Station_Type /t REG_DWORD /d 0 /f
    wine_quiet reg add "$config_adapter_key" /v Master_Name /t REG_SZ /d MASTER /f
    wine_quiet reg add "$config_adapter_key" /v Domain /t REG_DWORD /d 3 /f
}

run_case case_config_layouts_and_ok_reach_registry_and_card
run_case case_config_survives_cardemu_restarting_while_open
run_case case_security_id_synchronises_the_card_to_the_secure_master
run_case case_get_settings_shows_the_cards_facts
config_restore_registry
