# Sourced by e2e/run: the Master list against the default scenario, read through its list view.

masters="Master List"
masters_list() { probe list-view "$masters" "$(tool_id IDC_MASTERS_LIST)"; }
adapter_key='HKLM\System\CurrentControlSet\Services\davuziro\Parameters'

# Waits until the list has ROWS rows (the headings line aside), up to SECONDS.
wait_masters_rows() {
    for _ in $(seq "$2"); do
        [ "$(masters_list | tail -n +2 | grep -c .)" -ge "$1" ] && return 0
        sleep 1
    done
    echo "  rows after $2 s:"
    masters_list | sed 's/^/    /'
    return 1
}

# The rows as expected, after the headings; prints both on a mismatch.
expect_masters_rows() {
    local seen
    seen=$(masters_list)
    [ "$seen" = "$1" ] || { printf '  expected:\n%s\n  seen:\n%s\n' "$1" "$seen"; return 1; }
}

open_masters() {
    probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to" 60000 &&
        probe click "$tool" "$(tool_id IDC_MAIN_MASTERS)" &&
        probe wait "$masters" 15000
}

close_masters() {
    probe click "$masters" "$(tool_id IDOK)" && probe gone "$masters" 15000
}

headings="Address:96|Domain:48|Ch/Sub:56|Name:99"

case_masters_search_all_lists_every_master_in_discovery_order() {
    # The driver's setup also leaves "Route" in the key; the domain is written beside it.
    wine_quiet reg add "$adapter_key" /v Route /t REG_SZ /d 1 /f
    start_emulator "$root/emulator/scenarios/default.scn" &&
        start_tool &&
        open_masters || return 1
    # It opens searching the card's domain 3 alone; once its three Masters are listed, the sweep
    # goes 4 .. 15, 0 .. 3.
    wait_masters_rows 3 30 &&
        probe press "$masters" "$(tool_id IDC_MASTERS_SEARCH_ALL)" &&
        wait_masters_rows 7 60 &&
        expect_masters_rows "$headings
00a0d4010001|3|5/2|Lobby
00a0d4010002|3|9/1|Warehouse
00a0d4010003|3|12/4|Lab
00a0d4020002|7|3/7|Shipping
00a0d4020003|7|14/3|Annex
00a0d4020004|15|8/8|Roof
00a0d4020001|0|1/1|Accounts" &&
        screenshot masters-search-all &&
        close_masters
}

case_masters_search_one_lists_only_that_domain() {
    # Search One starts on the card's domain 3, whose Masters may be heard, each under 3, before
    # domain 7 is picked; from then on only domain 7 is searched.
    open_masters &&
        probe press "$masters" "$(tool_id IDC_MASTERS_SEARCH_ONE)" &&
        probe pick "$masters" "$(tool_id IDC_MASTERS_DOMAIN)" 7 &&
        probe wait-text "$masters" "$(tool_id IDC_MASTERS_SEARCHING)" 7 5000 &&
        sleep 8 || return 1
    local seen
    seen=$(masters_list | grep -v '^00a0d40100..|3|')
    [ "$seen" = "$headings
00a0d4020002|7|3/7|Shipping
00a0d4020003|7|14/3|Annex" ] || { printf '  seen:\n%s\n' "$(masters_list)"; return 1; }
    screenshot masters-search-one
}

# The row of the Master with ADDRESS, counted from 0.
masters_row_of() { masters_list | tail -n +2 | grep -n "^$1|" | cut -d: -f1 | awk '{ print $1 - 1 }'; }

case_masters_use_domain_writes_the_registry_and_moves_the_card() {
    probe click-row "$masters" "$(tool_id IDC_MASTERS_LIST)" "$(masters_row_of 00a0d4020002)" &&
        probe wait-text "$masters" "$(tool_id IDC_MASTERS_USE_DOMAIN)" "&Use Domain" 5000 &&
        [ "$(probe enabled "$masters" "$(tool_id IDC_MASTERS_USE_DOMAIN)")" = 1 ] &&
        probe click "$masters" "$(tool_id IDC_MASTERS_USE_DOMAIN)" &&
        probe wait-text "Change Domain" "$(tool_id IDC_CHANGE_DOMAIN_PROMPT)" \
            "Update to Domain 7?" 15000 &&
        screenshot masters-change-domain &&
        probe click "Change Domain" "$(tool_id IDOK)" &&
        probe gone "Change Domain" 15000 || return 1
    local stored
    stored=$(timeout 60 "$VZ_WINE" reg query "$adapter_key" /v Domain 2>/dev/null | tr -d '\r' |
        awk '$1 == "Domain" { print $3 }')
    [ "$stored" = 0x7 ] || { echo "  Domain in the registry: $stored"; return 1; }
    close_masters &&
        probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" \
            "Synchronized to 00a0d4020002  Shipping" 60000
}

case_masters_test_link_opens_the_directed_link_test() {
    open_masters &&
        wait_masters_rows 1 30 &&
        probe click-row "$masters" "$(tool_id IDC_MASTERS_LIST)" 0 &&
        sleep 1 &&
        probe click "$masters" "$(tool_id IDC_MASTERS_TEST_LINK)" &&
        probe wait-text "Directed Link" "$(tool_id IDC_LINK_ADDRESS)" 00a0d4020002 30000 &&
        screenshot masters-directed-link &&
        # The test runs with the card moved onto the chosen Master.
        "$host_build/emulator/cardemu" --control "127.0.0.1:$EMULATOR_PORT" state |
        grep -q "master=00a0d4020002" &&
        probe click "Directed Link" "$(tool_id IDOK)" &&
        probe gone "Directed Link" 15000 &&
        close_masters
}

case_masters_search_survives_the_emulator_restarting() {
    open_masters &&
        probe press "$masters" "$(tool_id IDC_MASTERS_SEARCH_ALL)" &&
        stop_emulator &&
        sleep 3 &&
        restart_emulator || return 1
    # The sweep goes on past the Masters it had found before the card went away.
    local before
    before=$(masters_list | tail -n +2 | grep -c .)
    wait_masters_rows $((before + 1)) 60 &&
        screenshot masters-after-restart || return 1
    # The restarted card's own Masters are listed with their domain, 3, or not yet at all.
    if masters_list | grep '^00a0d401' | grep -qv '|3|'; then
        echo "  a Master of domain 3 listed with another domain:"
        masters_list | sed 's/^/    /'
        return 1
    fi
    close_masters
}

# Leaves the tool as the other case files expect it: the card in domain 3 on "Lobby".
restore_masters_world() {
    wine_quiet reg add "$adapter_key" /v Domain /t REG_DWORD /d 3 /f
    wine_quiet reg delete "$adapter_key" /v Route /f
    restart_emulator
    probe wait-text "$tool" "$(tool_id IDC_MAIN_REPORT)" "Synchronized to 00a0d4010001  Lobby" 60000
}

run_case case_masters_search_all_lists_every_master_in_discovery_order
run_case case_masters_search_one_lists_only_that_domain
run_case case_masters_use_domain_writes_the_registry_and_moves_the_card
run_case case_masters_test_link_opens_the_directed_link_test
run_case case_masters_search_survives_the_emulator_restarting
restore_masters_world >/dev/null
