# Sourced by e2e/run: Snoop, the spectrum view, against the default world (country code 0, an
# interferer on frequency indices 44 to 56 at -52 dBm).

snoop="Snoop"

emulator_control() { "$host_build/emulator/cardemu" --control "127.0.0.1:$EMULATOR_PORT" "$@"; }

emulator_counter() {  # emulator_counter NAME: one of cardemu's request counts
    emulator_control counters | tr ' ' '\n' | sed -n "s/^$1=//p"
}

# Prints the bars of a screenshot's graph, one column a line: "navy green" pixel counts down
# each column's middle, found by the tick below it (a line, or a wider mark every tenth).
graph_bars() {  # graph_bars PNG
    local left top right bottom
    read -r left top right bottom <<<"$(probe rect "$snoop" "$(tool_id IDC_SNOOP_GRAPH)")"
    convert "$1" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage ppm:- |
        python3 -c '
import sys
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)
width, height = int(fields[1]), int(fields[2])
pixels = fields[4]
at = lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])
black, navy, green = (0, 0, 0), (0, 0, 128), (0, 255, 0)
ticks = height - 3
x = 0
while x < width:
    if at(x, ticks) != black:
        x += 1
        continue
    start = x
    while x < width and at(x, ticks) == black:
        x += 1
    column = [at((start + x - 1) // 2, y) for y in range(height)]
    print(column.count(navy), column.count(green))
'
}

# "interferer-median others-median" of navy and green heights, by the plan of code 0: the
# interferer on indices 44 to 56 is columns 43 to 55.
interferer_contrast() {  # interferer_contrast PNG
    graph_bars "$1" | python3 -c '
import statistics, sys
heights = [sum(map(int, line.split())) for line in sys.stdin]
if len(heights) != 79:
    sys.exit("columns: %d" % len(heights))
inside = heights[43:56]
outside = heights[:43] + heights[56:]
print(int(statistics.median(inside)), int(statistics.median(outside)))
'
}

case_snoop_sweeps_the_cards_frequencies_and_shows_the_interferer() {
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to" 60000 &&
        probe click "$tool" "$(tool_id IDC_MAIN_SNOOP)" &&
        probe wait "$snoop" 15000 || return 1
    [ "$(probe checked "$snoop" "$(tool_id IDC_SNOOP_MEDIUM)")" = 1 ] || { echo "  Medium not preselected"; return 1; }
    probe wait-text "$snoop" "$(tool_id IDC_SNOOP_LOW_LABEL)" "2.402" 5000 &&
        probe wait-text "$snoop" "$(tool_id IDC_SNOOP_HIGH_LABEL)" "2.480" 5000 || return 1
    probe click "$snoop" "$(tool_id IDC_SNOOP_FAST)"
    emulator_control reset-counters >/dev/null
    local started=$SECONDS parked
    # A whole sweep parks the radio three times on each of the 79 frequencies.
    for _ in $(seq 300); do
        parked=$(emulator_counter cmd10)
        [ "${parked:-0}" -ge $((3 * 79)) ] && break
        sleep 0.1
    done
    [ "${parked:-0}" -ge $((3 * 79)) ] || { echo "  only $parked frequencies parked"; return 1; }
    echo "  a Fast sweep took about $((SECONDS - started)) s"
    [ "$(probe checked "$snoop" "$(tool_id IDC_SNOOP_FAST)")" = 1 ] || return 1
    sleep 0.5
    screenshot snoop
    local contrast
    contrast=$(interferer_contrast "$out/screens/snoop.png") || { echo "  $contrast"; return 1; }
    read -r inside outside <<<"$contrast"
    echo "  median bar: $inside pixels on the interferer, $outside elsewhere"
    [ "$inside" -ge 60 ] && [ "$inside" -ge $((4 * outside + 20)) ]
}

case_snoop_rate_switch_clears_the_graph_and_restarts_the_sweep() {
    emulator_control reset-counters >/dev/null
    probe click "$snoop" "$(tool_id IDC_SNOOP_SLOW)" || return 1
    # A Slow dwell is 300 samples (or 10 s); the next frequency parked means it was drawn.
    local parked
    for _ in $(seq 150); do
        parked=$(emulator_counter cmd10)
        [ "${parked:-0}" -gt 300 ] && break
        sleep 0.1
    done
    sleep 0.3
    [ "$(probe checked "$snoop" "$(tool_id IDC_SNOOP_SLOW)")" = 1 ] &&
        [ "$(probe checked "$snoop" "$(tool_id IDC_SNOOP_FAST)")" = 0 ] || return 1
    screenshot snoop-slow
    local bars
    bars=$(graph_bars "$out/screens/snoop-slow.png")
    # The first frequency is sampled again; those the sweep has not reached yet are empty.
    echo "$bars" | sed -n 1p | awk '{ exit !($1 + $2 > 0) }' || { echo "  first column empty"; return 1; }
    echo "$bars" | sed -n '30,79p' | awk '$1 + $2 > 0 { found = 1 } END { exit found }' ||
        { echo "  old bars left"; return 1; }
}

# Snoop is at Slow here: a dwell that sampled on after the channel was lost would hold every
# command for 10 s.
case_snoop_outlives_the_emulator_restarting() {
    stop_emulator
    sleep 2
    restart_emulator &&
        sleep 1 &&
        probe click "$snoop" "$(tool_id IDC_HELP_COMMAND)" &&
        probe wait "Snoop Help" 5000 &&
        probe click "Snoop Help" "$(tool_id IDOK)" &&
        probe gone "Snoop Help" 5000 &&
        probe click "$snoop" "$(tool_id IDOK)" &&
        probe gone "$snoop" 5000 &&
        # The tool closed the lost channel after Snoop and reopens it on the restarted card.
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001  Lobby" 60000
}

run_case case_snoop_sweeps_the_cards_frequencies_and_shows_the_interferer
run_case case_snoop_rate_switch_clears_the_graph_and_restarts_the_sweep
run_case case_snoop_outlives_the_emulator_restarting
