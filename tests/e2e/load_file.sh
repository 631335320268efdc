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

started=$SECONDS
fail() {
  echo "FAIL: $*" >&2
  if [[ -s ${tmp:-}/quorvel.log ]]; then
    echo "--- the program's output:" >&2
    cat "$tmp/quorvel.log" >&2
  fi
  if [[ -n ${x11_xvfb_pid:-} ]] && ! kill -0 "$x11_xvfb_pid" 2>/dev/null; then
    echo "--- Xvfb has ended; its output:" >&2
    cat "$tmp/xvfb.log" >&2
  fi
  exit 1
}
step() { echo "[$((SECONDS - started))s] $*"; }

x11_require || fail "tools are missing"
[[ -x $program ]] || fail "no executable at $program"
x11_make_tmp || fail "no temporary folder"
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
    fail "ffmpeg could not make $clip"
}

# expect_report FILE: what the report area must then hold for the clip (see x11_expected_report).
expect_report() { x11_expected_report "$clip" "$1" || fail "cannot tell what the report must be"; }

# wait_for_report EXPECTED WHAT: waits until the report area holds the expected report.
wait_for_report() {
  x11_wait_report "$win" "$1" "$tmp/actual" || fail "the report area does not show the expected report ($2)"
}

step "making a clip: $clip"
make_clip "Tëst" 2
expect_report "$tmp/expected1"

step "starting Xvfb"
x11_start_xvfb || fail "Xvfb did not start"
step "starting $program on $DISPLAY"
x11_start_program "$tmp/quorvel.log" "$program"
win=$(x11_wait_window '^Quorvel 1\.2\.5$' 30) || fail "the main window 'Quorvel 1.2.5' did not appear"

step "File > Load File, typing the path"
x11_load_file "$win" "$clip" || fail "loading the clip through the Load File dialog"
wait_for_report "$tmp/expected1" "after Load File"
step "report is as expected"

step "F5 (Refresh), file unchanged"
x11_focus "$win" || fail "focus"
xdotool key --clearmodifiers F5
wait_for_report "$tmp/expected1" "after F5, file unchanged"

step "F5 (Refresh) after replacing the file with another clip"
make_clip "Tëst zwei" 3
expect_report "$tmp/expected2"
cmp -s "$tmp/expected1" "$tmp/expected2" && fail "the second clip's report should differ from the first's"
x11_focus "$win" || fail "focus"
xdotool key --clearmodifiers F5
wait_for_report "$tmp/expected2" "after F5, file replaced"
step "report shows the new clip"

step "closing the window (WM_DELETE_WINDOW)"
x11_close_window "$win" || fail "could not ask the window to close"
x11_wait_exit "$x11_program_pid" 20 || fail "the program did not end within 20 s of WM_DELETE_WINDOW"
[[ $x11_exit_status -eq 0 ]] || fail "the program ended with status $x11_exit_status"
step "PASS: the program ended (status 0)"
