# Sourced by e2e/run: a short smoke of the build that the full run does not exercise (the x86_64
# one where the i686 programs are the ones tested), so that neither rots: the tool's start-up
# report, then the monitor's information.

case_smoke_tool_reports_the_emulators_master() {
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001  Lobby" 60000 &&
        screenshot smoke-main-dialog &&
        probe click "$tool" "$(tool_id IDOK)" &&
        wait_tool_exit 0
}

case_smoke_monitor_shows_the_card_synchronised() {
    start_program "$win_build/ruvedor" ruvedor.exe
    echo "$PROGRAM_PID" >"$out/.monitor-pid"
    probe wait "$monitor" 30000 || return 1
    # It starts hidden, in the tray.
    for _ in $(seq 50); do
        [ "$(probe visible "$monitor")" = 0 ] && break
        sleep 0.2
    done
    local information deadline=$((SECONDS + 30))
    information=$(monitor_id IDC_MONITOR_INFORMATION)
    # The tray icon's right-button press (message 1124) refreshes and shows the information.
    while [ $SECONDS -lt $deadline ]; do
        probe post "$monitor" 1124 0 0x204
        probe wait-text "$monitor" "$information" "Synchronized to 00a0d4010001  Lobby" 2000 && break
    done
    probe wait-text "$monitor" "$information" "Synchronized to 00a0d4010001  Lobby" 100 &&
        [ "$(probe visible "$monitor")" = 1 ] &&
        screenshot smoke-monitor-information &&
        probe click "$monitor" "$(monitor_id IDOK)"
}

run_case case_smoke_tool_reports_the_emulators_master
run_case case_smoke_monitor_shows_the_card_synchronised
