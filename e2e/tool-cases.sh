# Sourced by e2e/run: the tool's main dialog, its start-up check and its ways out.

case_tool_reports_the_emulators_master() {
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001  Lobby" 60000 &&
        screenshot main-dialog
}

case_second_tool_start_exits_zero_and_leaves_one_window() {
    run_tool_once || return 1
    local count
    count=$(probe count "$tool")
    [ "$count" = 1 ] || { echo "  $count windows"; return 1; }
}

case_help_shows_its_section() {
    probe click "$tool" "$(tool_id IDC_HELP_COMMAND)" &&
        probe wait "Main Help" 15000 &&
        screenshot help &&
        probe click "Main Help" "$(tool_id IDOK)" &&
        probe gone "Main Help" 15000
}

case_tool_survives_the_emulator_going_away() {
    stop_emulator
    # Closing the Master list makes the tool reopen the driver: no emulator, no driver.
    probe click "$tool" "$(tool_id IDC_MAIN_MASTERS)" &&
        probe wait "Master List" 15000 &&
        probe click "Master List" "$(tool_id IDOK)" &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Unable to access Vezurez driver" 30000 &&
        screenshot no-emulator &&
        restart_emulator &&
        # The adapter is a PC card, so the check comes back every ten seconds by itself.
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001  Lobby" 60000
}

case_exit_ends_the_tool() {
    probe click "$tool" "$(tool_id IDOK)" && wait_tool_exit 0
}

case_tool_without_emulator_cannot_access_the_driver() {
    stop_emulator
    EMULATOR_ADDRESS="" start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Unable to access Vezurez driver" 60000 &&
        probe close "$tool" &&
        wait_tool_exit 0
}

case_refused_driver_version_shows_the_error_and_exits_zero() {
    sed 's/driver="V1.2.4"/driver="1.05"/' "$root/emulator/scenarios/default.scn" >"$out/refused.scn"
    start_emulator "$out/refused.scn" &&
        start_tool &&
        probe wait-text "Error" "$(tool_id IDC_ERROR_TEXT)" "Incorrect Driver Version 1.05" 30000 &&
        screenshot error-dialog &&
        probe click "Error" "$(tool_id IDOK)" &&
        wait_tool_exit 0
}

run_case case_tool_reports_the_emulators_master
run_case case_second_tool_start_exits_zero_and_leaves_one_window
run_case case_help_shows_its_section
run_case case_tool_survives_the_emulator_going_away
run_case case_exit_ends_the_tool
run_case case_tool_without_emulator_cannot_access_the_driver
run_case case_refused_driver_version_shows_the_error_and_exits_zero
