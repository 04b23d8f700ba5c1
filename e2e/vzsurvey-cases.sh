# Sourced by e2e/run: vzsurvey, the console program, against the default scenario: every command,
# the exit statuses, Ctrl+C and the metrics file, and a short walk with its report.
source "$root/e2e/walk.sh"

# expect_vzsurvey NAME STATUS TEXT...: the exit status, and each TEXT on a line of the output.
expect_vzsurvey() {
    local name=$1 status=$2 text
    shift 2
    [ "$VZSURVEY_STATUS" -eq "$status" ] ||
        { echo "  $name: exit $VZSURVEY_STATUS, expected $status"; cat "$vzsurvey_out/$name.err"; return 1; }
    for text in "$@"; do
        grep -qF -- "$text" "$vzsurvey_out/$name.out" ||
            { echo "  $name: no line with '$text' in:"; sed 's/^/    /' "$vzsurvey_out/$name.out"; return 1; }
    done
}

emulator_state() { "$host_build/emulator/cardemu" --control "$(emulator_address)" state; }

case_vzsurvey_runs_every_command() {
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    run_vzsurvey status status &&
        expect_vzsurvey status 0 "master_name:    Lobby" "synchronised:   yes" "domain:         3" &&
        run_vzsurvey masters masters --domain 3 --seconds 3 --csv &&
        expect_vzsurvey masters 0 "address,domain,channel,subchannel,name" \
            "00a0d4010002,3,9,1,Warehouse" "00a0d4010003,3,12,4,Lab" &&
        run_vzsurvey survey survey --cycles 2 --jsonl &&
        expect_vzsurvey survey 0 '"cycle":2,"address":"00a0d4010001","master_name":"Lobby"' \
            '{"type":"summary","command":"survey"' &&
        run_vzsurvey link link master --seconds 2 --json &&
        expect_vzsurvey link 0 '"command": "link"' '"address": "00a0d4010001",' &&
        run_vzsurvey snoop snoop --rate fast &&
        expect_vzsurvey snoop 0 "    1  2.402" "    1  2.480" "sweeps:             1"
}

case_vzsurvey_exit_statuses() {
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    run_vzsurvey bad-size link master --size 59 &&
        expect_vzsurvey bad-size 3 && grep -q "^usage: vzsurvey link" "$vzsurvey_out/bad-size.err" &&
        run_vzsurvey thresholds link master --seconds 2 --nagios --warn-latency-ms 1 --crit-latency-ms 500 &&
        expect_vzsurvey thresholds 1 "VZSURVEY LINK WARNING - " || return 1
    # With the tool running, the card is its own: vzsurvey stands aside.
    start_tool && probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to" 60000 &&
        run_vzsurvey tool-running status &&
        expect_vzsurvey tool-running 3 && grep -q "is running" "$vzsurvey_out/tool-running.err" &&
        probe click "$tool" "$(tool_id IDOK)" && wait_tool_exit 0 || return 1
    # Every Master of the domain off the air: the card is not synchronised.
    for master in 00a0d4010001 00a0d4010002 00a0d4010003; do
        "$host_build/emulator/cardemu" --control "$(emulator_address)" silence "$master" >/dev/null
    done
    sleep 2
    run_vzsurvey unsynchronised status --nagios &&
        expect_vzsurvey unsynchronised 2 "VZSURVEY STATUS CRITICAL" &&
        EMULATOR_ADDRESS="" run_vzsurvey no-driver status &&
        expect_vzsurvey no-driver 3 && grep -q "driver" "$vzsurvey_out/no-driver.err"
}

# Ctrl+C (SIGINT reaches the program as CTRL_C_EVENT) ends the run cleanly: a whole JSON
# document, exit 0, and the card free to roam again.
case_vzsurvey_ctrl_c_ends_cleanly_and_writes_the_metrics() {
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    mkdir -p "$vzsurvey_out"
    rm -f "$vzsurvey_out/survey.prom"
    (
        cd "$win_build/vzsurvey" || exit 1
        export VEZUREZ_EMULATOR=$(emulator_address)
        exec timeout 300 "$VZ_WINE" vzsurvey.exe survey --cycles 1000 --json \
            --prometheus "Z:$vzsurvey_out/survey.prom" >"$vzsurvey_out/interrupted.out" \
            2>"$vzsurvey_out/interrupted.err"
    ) &
    local runner=$!
    sleep 10
    pkill -INT -f "vzsurvey.exe survey --cycles 1000"
    wait "$runner"
    VZSURVEY_STATUS=$?
    sed -i 's/\r$//' "$vzsurvey_out/interrupted.out"
    expect_vzsurvey interrupted 0 '"summary": {' '"command": "survey",' &&
        python3 -c "import json,sys; json.load(open(sys.argv[1]))" "$vzsurvey_out/interrupted.out" &&
        emulator_state | grep -q " roaming=0 " &&
        grep -q '^vezurez_survey_nodes_heard{node="00a0d41a2b3c"} [1-9]' "$vzsurvey_out/survey.prom" &&
        ! ls "$vzsurvey_out"/*.tmp 2>/dev/null
}

# Three points with the card moved between them, the last with a spectrum sweep; the report on
# the floor's plan opens in headless Chromium.
case_vzsurvey_walk_is_recorded_and_reported() {
    start_emulator "$root/emulator/scenarios/default.scn" || return 1
    local walk=$vzsurvey_out/walk.jsonl report=$vzsurvey_out/walk.html
    walk_record "$walk" "16,16,Hall" "8,24,South-west" "26,6,North,--snoop" &&
        [ "$(grep -c '"type":"point"' "$walk")" -eq 3 ] &&
        walk_report "$walk" "$report" &&
        grep -q "Hall" "$report" && ! grep -qE "(src|href)=\"https?:" "$report" &&
        walk_screenshot "$report" "$out/screens/vzsurvey-walk-report.png"
}

run_case case_vzsurvey_runs_every_command
run_case case_vzsurvey_exit_statuses
run_case case_vzsurvey_ctrl_c_ends_cleanly_and_writes_the_metrics
run_case case_vzsurvey_walk_is_recorded_and_reported
