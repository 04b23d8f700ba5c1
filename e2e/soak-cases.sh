# Sourced by e2e/run (and e2e/soak): both programs under Wine against cardemu for
# VZ_SOAK_SECONDS (60 unless set) while a random fault is armed every few seconds, cardemu is
# killed and restarted now and then, and the tool's start-up check runs again each time (the
# Master list opened and closed). While the tool runs the monitor stands aside and asks the card
# nothing, so the faults land on the tool's checks; the headless soak covers the monitor's
# polling. Both windows must keep answering, neither program may end, and at the end both show
# the card's true state again. Handles and memory of both are printed.

# The longest the programs may block: InitCard's ten-second wait for a Master, with room for a
# slow reply at its end.
soak_answer_limit_ms=15000
soak_kinds=(drop fail unset-status length busy slow ioerror)

soak_control() { "$host_build/emulator/cardemu" --control "127.0.0.1:$EMULATOR_PORT" "$@"; }

# One fault in the control language, on a command the programs send.
soak_random_fault() {
    local cmds=(2 3 3 3 3 3 4 11 13 14)
    local cmd=${cmds[RANDOM % ${#cmds[@]}]}
    case ${soak_kinds[RANDOM % ${#soak_kinds[@]}]} in
        drop) echo "fault drop cmd=$cmd" ;;
        fail) echo "fault fail cmd=$cmd status=$(((RANDOM % 10) - 9)) count=$((RANDOM % 3 + 1))" ;;
        unset-status) echo "fault unset-status cmd=3" ;;
        length) echo "fault length cmd=$cmd value=$((RANDOM % 2100))" ;;
        busy) echo "fault busy status=-$((RANDOM % 3 + 5))" ;;
        slow) echo "fault slow cmd=$cmd ms=$((RANDOM % 2000))" ;;
        ioerror) echo "fault ioerror cmd=$cmd error=$(((RANDOM % 2) ? 31 : 1167))" ;;
    esac
}

# Adds cardemu's fired counts to the soak's totals (before a restart zeroes them).
declare -A soak_fired
soak_collect_fired() {
    local counters kind n
    counters=$(soak_control counters) || return 0
    for kind in "${soak_kinds[@]}"; do
        n=$(sed -n "s/.* fired-$kind=\([0-9]*\).*/\1/p" <<<"$counters")
        soak_fired[$kind]=$((${soak_fired[$kind]:-0} + ${n:-0}))
    done
}

soak_usage() {  # soak_usage CAPTION: "handles N memory KB"
    probe usage "$1"
}

# Both windows answer within the limit; the slowest answer so far goes to soak_slowest_ms.
soak_responsive() {
    local caption ms
    for caption in "$tool" "$monitor"; do
        ms=$(probe respond "$caption" "$soak_answer_limit_ms") ||
            { echo "  \"$caption\" did not answer within $soak_answer_limit_ms ms"; return 1; }
        [ "$ms" -gt "$soak_slowest_ms" ] && soak_slowest_ms=$ms
    done
    return 0
}

soak_rerun_check() {
    probe click "$tool" "$(tool_id IDC_MAIN_MASTERS)" &&
        probe wait "Master List" 20000 && probe close "Master List"
}

case_soak_both_programs_under_faults() {
    local seconds=${VZ_SOAK_SECONDS:-60} report monitor_text faults=0 restarts=0 checks=0
    local tool_start monitor_start
    soak_slowest_ms=0
    stop_tool
    [ -f "$out/.monitor-pid" ] && kill "$(cat "$out/.monitor-pid")" 2>/dev/null
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    start_program "$win_build/ruvedor" ruvedor.exe
    local monitor_pid=$PROGRAM_PID
    echo "$monitor_pid" >"$out/.monitor-pid"
    start_tool || return 1
    report=$(tool_id IDC_MAIN_REPORT)
    monitor_text=$(monitor_id IDC_MONITOR_INFORMATION)
    probe wait "$monitor" 30000 &&
        probe wait-text "$tool" "$report" "Synchronized to 00a0d4010001  Lobby" 60000 || return 1
    tool_start=$(soak_usage "$tool") && monitor_start=$(soak_usage "$monitor") || return 1

    local deadline=$((SECONDS + seconds))
    while [ $SECONDS -lt $deadline ]; do
        soak_control "$(soak_random_fault)" >/dev/null && faults=$((faults + 1))
        if [ $((RANDOM % 8)) -eq 0 ]; then
            soak_collect_fired
            restart_emulator || return 1
            restarts=$((restarts + 1))
        fi
        soak_rerun_check || { echo "  the Master list did not open and close"; return 1; }
        checks=$((checks + 1))
        soak_responsive || return 1
        kill -0 "$TOOL_PID" 2>/dev/null && kill -0 "$monitor_pid" 2>/dev/null ||
            { echo "  a program ended"; return 1; }
        sleep $((RANDOM % 3 + 1))
    done
    soak_collect_fired
    soak_control "fault clear" >/dev/null

    # The card's true state again: in the tool's next check, then, once the tool has ended (the
    # monitor stands aside while it runs), in the monitor's information.
    soak_rerun_check &&
        probe wait-text "$tool" "$report" "Synchronized to 00a0d4010001  Lobby" 60000 || return 1
    local tool_end monitor_end recovered=1
    tool_end=$(soak_usage "$tool")
    probe close "$tool" && wait_tool_exit 0 || return 1
    for _ in $(seq 30); do
        # The tray icon's right-button press (WM_USER + 100, WM_RBUTTONDOWN) refreshes the text.
        probe post "$monitor" $((0x400 + 100)) 0 0x204
        probe wait-text "$monitor" "$monitor_text" "Synchronized to 00a0d4010001  Lobby" 2000 &&
            { recovered=0; break; }
    done
    [ $recovered -eq 0 ] || { echo "  the monitor did not show the card again"; return 1; }
    monitor_end=$(soak_usage "$monitor")
    probe click "$monitor" "$(monitor_id IDC_MONITOR_HIDE)"

    local fired="" kind
    for kind in "${soak_kinds[@]}"; do fired+=" $kind=${soak_fired[$kind]:-0}"; done
    echo "  soak: $seconds s, $faults faults armed, fired:$fired; $restarts cardemu restarts," \
        "$checks start-up checks; slowest answer $soak_slowest_ms ms"
    echo "  soak: tool $tool_start -> $tool_end KB; monitor $monitor_start -> $monitor_end KB"
}

run_case case_soak_both_programs_under_faults
