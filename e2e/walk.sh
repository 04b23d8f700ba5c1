# Sourced by e2e/vzsurvey-cases.sh and scripts/demo --walk (after e2e/harness.sh): a walk through
# the default floor, the card moved by cardemu from point to point, each point recorded by
# vzsurvey under Wine, then the report of the walk on the floor's plan.

floor_plan=$root/emulator/scenarios/default-floor.png
floor_scale=20  # plan pixels a metre, as scripts/draw-floor-plan draws the plan

# walk_record WALK POINT...: each POINT is "X,Y,LABEL[,OPTION...]" with X,Y in metres and the
# options vzsurvey record takes besides them ("--snoop"); the walk file starts afresh.
walk_record() {
    local walk=$1 point x y label options
    shift
    rm -f "$walk"
    for point in "$@"; do
        IFS=, read -r x y label options <<<"$point"
        "$host_build/emulator/cardemu" --control "$(emulator_address)" card-at "$x,$y" >/dev/null ||
            return 1
        # shellcheck disable=SC2086  # the options are words
        run_vzsurvey "point-$label" record --at "$((x * floor_scale)),$((y * floor_scale))" \
            --label "$label" --cycles 3 --link master $options --out "Z:$walk" || return 1
        [ "$VZSURVEY_STATUS" -eq 0 ] ||
            { echo "  point $label: exit $VZSURVEY_STATUS"; cat "$vzsurvey_out/point-$label.err"; return 1; }
    done
}

# walk_report WALK REPORT: the report of the walk on the floor's plan.
walk_report() {
    run_vzsurvey report report "Z:$1" --plan "Z:$floor_plan" --out "Z:$2" &&
        [ "$VZSURVEY_STATUS" -eq 0 ] ||
        { echo "  report: exit $VZSURVEY_STATUS"; cat "$vzsurvey_out/report.err"; return 1; }
}

# walk_screenshot REPORT PNG: the page as headless Chromium draws it, without network.
walk_screenshot() {
    timeout 120 chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
        --proxy-server=127.0.0.1:9 --window-size=1280,1600 --screenshot="$2" "file://$1" \
        >/dev/null 2>&1 && [ -s "$2" ]
}
