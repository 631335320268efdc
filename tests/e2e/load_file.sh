#!/usr/bin/env bash
# End-to-end test of the real executable on a virtual X display of its own, driven with the
# keyboard as a person would:
#   1. File > Load File, a typed full path (spaces, non-ASCII letters) in Qt's file dialog;
#      the report area must hold exactly PATH, an empty line, and the part of the probe's output
#      between "Input #0," and "At least one output file must be specified";
#   2. F5 (Refresh) with the file unchanged gives the same report; after the file was replaced,
#      F5 shows the new file's report, so it really probes again;
#   3. closing the window as a window manager does (WM_DELETE_WINDOW) ends the program.
# Usage: load_file.sh PATH/TO/quorvel   (CTest: e2e_load_file)
set -euo pipefail
program=${1:?usage: load_file.sh PATH/TO/quorvel}
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/x11.sh"

x11_require || x11_fail "tools are missing"
[[ -x $program ]] || x11_fail "no executable at $program"
x11_make_tmp || x11_fail "no temporary folder"
tmp=$x11_tmp

# A fresh home on every run: Qt's file dialog keeps its history and last folder in the settings,
# which would make one run differ from the next.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
mkdir -p "$XDG_CONFIG_HOME"
if [[ -z ${XDG_RUNTIME_DIR:-} || ! -d $XDG_RUNTIME_DIR ]]; then
  export XDG_RUNTIME_DIR=$tmp/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

clip="$tmp/Clips dir/Tëst clip ü.mp4"
mkdir -p "$(dirname "$clip")"

# make_clip TITLE SECONDS: a small clip with video, audio and a title.
make_clip() {
  ffmpeg -y -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25:duration=$2" \
    -f lavfi -i "sine=frequency=440:duration=$2" -metadata title="$1" \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$clip" </dev/null ||
    x11_fail "ffmpeg could not make $clip"
}

# expect_report FILE: what the report area must then hold for the clip (see x11_expected_report).
expect_report() { x11_expected_report "$clip" "$1" || x11_fail "cannot tell what the report must be"; }

# wait_for_report EXPECTED WHAT: waits until the report area holds the expected report.
wait_for_report() {
  x11_wait_report "$win" "$1" "$tmp/actual" || x11_fail "the report area does not show the expected report ($2)"
}

x11_step "making a clip: $clip"
make_clip "Tëst" 2
expect_report "$tmp/expected1"

x11_step "starting Xvfb"
x11_start_xvfb || x11_fail "Xvfb did not start"
x11_step "starting $program on $DISPLAY"
x11_start_program "$tmp/quorvel.log" "$program"
win=$(x11_wait_window '^Quorvel 1\.2\.5$' 30) || x11_fail "the main window 'Quorvel 1.2.5' did not appear"

x11_step "File > Load File, typing the path"
x11_load_file "$win" "$clip" || x11_fail "loading the clip through the Load File dialog"
wait_for_report "$tmp/expected1" "after Load File"
x11_step "report is as expected"

x11_step "F5 (Refresh), file unchanged"
x11_focus "$win" || x11_fail "focus"
xdotool key --clearmodifiers F5
wait_for_report "$tmp/expected1" "after F5, file unchanged"

x11_step "F5 (Refresh) after replacing the file with another clip"
make_clip "Tëst zwei" 3
expect_report "$tmp/expected2"
cmp -s "$tmp/expected1" "$tmp/expected2" && x11_fail "the second clip's report should differ from the first's"
x11_focus "$win" || x11_fail "focus"
xdotool key --clearmodifiers F5
wait_for_report "$tmp/expected2" "after F5, file replaced"
x11_step "report shows the new clip"

x11_step "closing the window (WM_DELETE_WINDOW)"
x11_close_window "$win" || x11_fail "could not ask the window to close"
x11_wait_exit "$x11_program_pid" 20 || x11_fail "the program did not end within 20 s of WM_DELETE_WINDOW"
[[ $x11_exit_status -eq 0 ]] || x11_fail "the program ended with status $x11_exit_status"
x11_step "PASS: the program ended (status 0)"
