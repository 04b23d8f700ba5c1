# Sourced by e2e/run: the site survey and the directed link test against the default world.

survey="Site Survey"
link="Directed Link"

survey_row_id() { echo $(($(tool_id "$1") + $2)); }  # survey_row_id COLUMN ROW

# until_ok MS COMMAND...: runs COMMAND every half second until it succeeds or MS pass.
until_ok() {
    local end=$((SECONDS + $1 / 1000))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || { echo "  gave up waiting for: $*"; return 1; }
        sleep 0.5
    done
}
positive_text() { local v; v=$(probe text "$1" "$2"); [ "${v:-0}" -gt 0 ] 2>/dev/null; }
item_shown() { [ "$(probe shown "$1" "$2")" = "$3" ]; }
is_checked() { [ "$(probe checked "$survey" "$(tool_id "$1")")" = "$2" ]; }  # is_checked NAME 0|1
# bar_matches_text ROW: the survey row's bar stands at the percentage written beside it (asked
# again when the rows were redrawn between the two readings).
bar_matches_text() {
    local signal bar
    signal=$(probe text "$survey" "$(survey_row_id IDC_SURVEY_SIGNAL "$1")")
    bar=$(probe progress "$survey" "$(survey_row_id IDC_SURVEY_SIGNAL_BAR "$1")")
    [ "$signal" = "$bar %" ]
}

open_link_from_row() {  # open_link_from_row ROW: the row's address on stdout
    local address
    address=$(probe text "$survey" "$(survey_row_id IDC_SURVEY_ADDRESS "$1")")
    [ -n "$address" ] || return 1
    probe click "$survey" "$(survey_row_id IDC_SURVEY_LINK_TEST "$1")" &&
        probe wait "$link" 15000 &&
        probe wait-text "$link" "$(tool_id IDC_LINK_ADDRESS)" "$address" 15000 &&
        echo "$address"
}

close_link() {
    probe click "$link" "$(tool_id IDOK)" && probe gone "$link" 15000
}

case_survey_fills_its_rows() {
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001" 60000 &&
        probe click "$tool" "$(tool_id IDC_MAIN_SITE_SURVEY)" &&
        probe wait "$survey" 15000 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_MASTER_NAME)" "Lobby" 30000 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_ADDRESS)" "00a0d4010001" 5000 &&
        until_ok 30000 positive_text "$survey" "$(tool_id IDC_SURVEY_NODE_COUNT)" || return 1
    # The default world has the Master and twelve stations: more than the seven rows.
    until_ok 30000 item_shown "$survey" "$(tool_id IDC_SURVEY_SCROLL)" 1 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_SIGNAL)" " %" 5000 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_QUALITY)" "5" 30000 || return 1
    local row mark
    for row in 0 6; do
        mark=$(probe text "$survey" "$(survey_row_id IDC_SURVEY_ACTIVITY $row)")
        [ "$mark" = "( )" ] || [ "$mark" = "(*)" ] || { echo "  activity '$mark'"; return 1; }
        [ -n "$(probe text "$survey" "$(survey_row_id IDC_SURVEY_ADDRESS $row)")" ] || return 1
        until_ok 5000 bar_matches_text "$row" || return 1
    done
    [ "$(probe text "$survey" "$(survey_row_id IDC_SURVEY_MASTER_NAME 1)")" = "" ] &&
        screenshot site-survey
}

case_survey_sorts_by_address_with_the_master_first() {
    probe press "$survey" "$(tool_id IDC_SURVEY_BY_ADDRESS)" &&
        until_ok 5000 is_checked IDC_SURVEY_BY_ADDRESS 1 &&
        probe wait-text "$survey" "$(survey_row_id IDC_SURVEY_ADDRESS 1)" "00a0d4100001" 15000 &&
        probe wait-text "$survey" "$(survey_row_id IDC_SURVEY_ADDRESS 6)" "00a0d4100006" 5000 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_ADDRESS)" "00a0d4010001" 5000
}

card_roaming_flag() {  # card_roaming_flag FLAG: the emulated card's roaming flag is FLAG
    "$host_build/emulator/cardemu" --control "$(emulator_address)" state | grep -q " roaming=$1 "
}

# Clearing the box holds the card where it is, checking it frees it; the table starts again each
# time and fills with the Master first (the rows are sorted by address).
case_roaming_box_holds_the_card_and_frees_it() {
    local state
    for state in 0 1; do
        probe press "$survey" "$(tool_id IDC_SURVEY_ROAMING)" &&
            until_ok 30000 is_checked IDC_SURVEY_ROAMING $state &&
            until_ok 30000 card_roaming_flag $((1 - state)) &&
            probe wait-text "$survey" "$(tool_id IDC_SURVEY_MASTER_NAME)" "Lobby" 30000 &&
            until_ok 30000 positive_text "$survey" "$(tool_id IDC_SURVEY_NODE_COUNT)" &&
            until_ok 30000 item_shown "$survey" "$(tool_id IDC_SURVEY_OUT_OF_RANGE)" 0 || return 1
    done
}

case_row_button_tests_that_nodes_link() {
    open_link_from_row 2 >/dev/null &&
        until_ok 30000 positive_text "$link" "$(tool_id IDC_LINK_PACKETS)" &&
        until_ok 30000 positive_text "$link" "$(tool_id IDC_LINK_LATENCY)" &&
        probe wait-text "$link" "$(tool_id IDC_LINK_SIGNAL)" " %" 5000 &&
        screenshot directed-link
}

case_link_test_packet_size_is_handed_back() {
    probe slide "$link" "$(tool_id IDC_LINK_PACKET_SLIDER)" 200 &&
        probe wait-text "$link" "$(tool_id IDC_LINK_PACKET_SIZE)" "200" 15000 &&
        close_link &&
        open_link_from_row 3 >/dev/null &&
        probe wait-text "$link" "$(tool_id IDC_LINK_PACKET_SIZE)" "200" 15000
}

case_link_test_survives_the_emulator_going_away() {
    stop_emulator
    until_ok 30000 item_shown "$link" "$(tool_id IDC_LINK_OUT_OF_RANGE)" 1 &&
        # The tick that shows it goes on trying to reopen the channel for a while: reading a text
        # waits for that tick to end, and then the line is painted.
        probe text "$link" "$(tool_id IDC_LINK_OUT_OF_RANGE)" >/dev/null && sleep 1 &&
        screenshot directed-link-out-of-range &&
        restart_emulator &&
        until_ok 60000 item_shown "$link" "$(tool_id IDC_LINK_OUT_OF_RANGE)" 0 &&
        until_ok 30000 positive_text "$link" "$(tool_id IDC_LINK_PACKETS)" &&
        close_link
}

case_survey_survives_the_emulator_going_away() {
    stop_emulator
    until_ok 30000 item_shown "$survey" "$(tool_id IDC_SURVEY_OUT_OF_RANGE)" 1 &&
        screenshot site-survey-out-of-range &&
        restart_emulator &&
        until_ok 60000 item_shown "$survey" "$(tool_id IDC_SURVEY_OUT_OF_RANGE)" 0 &&
        probe wait-text "$survey" "$(tool_id IDC_SURVEY_ADDRESS)" "00a0d4010001" 30000 &&
        probe click "$survey" "$(tool_id IDOK)" &&
        probe gone "$survey" 15000 &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001" 60000
}

run_case case_survey_fills_its_rows
run_case case_survey_sorts_by_address_with_the_master_first
run_case case_roaming_box_holds_the_card_and_frees_it
run_case case_row_button_tests_that_nodes_link
run_case case_link_test_packet_size_is_handed_back
run_case case_link_test_survives_the_emulator_going_away
run_case case_survey_survives_the_emulator_going_away
