# Sourced by e2e/run: the Status Monitor's cases, against the default world.

monitor_text() { probe text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)"; }

# Whether the control shows an ampersand as typed (a Master named "R&D"), not as a mnemonic.
shows_ampersands() { (($(probe style "$1" "$2") & 0x80)); }

# The tray icon's right-button press: the information window is refreshed and shown.
right_click_tray() { probe post "$monitor" 1124 0 0x204; }

case_monitor_starts_hidden_with_the_card_synchronised() {
    stop_tool
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    start_program "$win_build/ruvedor" ruvedor.exe
    MONITOR_PID=$PROGRAM_PID
    echo "$MONITOR_PID" >"$out/.monitor-pid"
    probe wait "$monitor" 30000 || return 1
    for _ in $(seq 50); do
        [ "$(probe visible "$monitor")" = 0 ] && break
        sleep 0.2
    done
    [ "$(probe visible "$monitor")" = 0 ] || { echo "  the window stayed visible"; return 1; }
    right_click_tray &&
        probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Synchronized to 00a0d4010001  Lobby" 15000 &&
        [ "$(probe visible "$monitor")" = 1 ] &&
        probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Vezurez driver version V1.2.4 accessed successfully." 1000 &&
        { shows_ampersands "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" || { echo "  the information text underlines after &"; false; }; } &&
        screenshot monitor-information &&
        probe click "$monitor" "$(monitor_id IDC_MONITOR_HIDE)" &&
        sleep 1 && [ "$(probe visible "$monitor")" = 0 ]
}

case_second_monitor_start_exits_zero() {
    (cd "$win_build/ruvedor" && VEZUREZ_EMULATOR=$(emulator_address) timeout 60 "$VZ_WINE" ruvedor.exe)
    local code=$?
    [ "$code" -eq 0 ] || { echo "  exit code $code"; return 1; }
    [ "$(probe count "$monitor")" = 1 ]
}

case_monitor_stands_aside_while_the_tool_runs() {
    start_tool || return 1
    probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to" 60000 || return 1
    # Within about a tick the monitor sees the tool; its text is then the stored one.
    local deadline=$((SECONDS + 15))
    while [ $SECONDS -lt $deadline ]; do
        right_click_tray
        probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Utility is running, the data is static.  " 1500 && break
    done
    probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Utility is running, the data is static.  " 100 &&
        screenshot monitor-static &&
        probe click "$monitor" "$(monitor_id IDC_MONITOR_HIDE)" &&
        probe click "$tool" "$(tool_id IDOK)" &&
        wait_tool_exit 0
}

case_monitor_survives_the_emulator_going_away() {
    stop_emulator
    sleep 3
    kill -0 "$MONITOR_PID" 2>/dev/null || { echo "  the monitor ended"; return 1; }
    restart_emulator || return 1
    # Reopened every ten seconds after the channel failed; then polled every second.
    local deadline=$((SECONDS + 40))
    while [ $SECONDS -lt $deadline ]; do
        right_click_tray
        probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Synchronized to 00a0d4010001  Lobby" 2000 && break
    done
    probe wait-text "$monitor" "$(monitor_id IDC_MONITOR_INFORMATION)" "Synchronized to 00a0d4010001  Lobby" 100 &&
        kill -0 "$MONITOR_PID" 2>/dev/null
}

case_monitor_remove_ends_it() {
    probe click "$monitor" "$(monitor_id IDOK)" || return 1
    for _ in $(seq 100); do
        kill -0 "$MONITOR_PID" 2>/dev/null || break
        sleep 0.1
    done
    wait "$MONITOR_PID"
    local code=$?
    [ "$code" -eq 0 ] || { echo "  exit code $code"; return 1; }
}

run_case case_monitor_starts_hidden_with_the_card_synchronised
run_case case_second_monitor_start_exits_zero
run_case case_monitor_stands_aside_while_the_tool_runs
run_case case_monitor_survives_the_emulator_going_away
run_case case_monitor_remove_ends_it
