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
shopt -s extglob

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

# expect_report FILE: what the report area must then hold, computed from what ffmpeg prints into
# a pipe as the program runs it (ffmpeg -i PATH, stdin from /dev/null, stdout and stderr merged).
# Bytes, as the program does it on the decoded text: NULs removed, bytes <= 0x20 trimmed at both
# ends of the whole output (UTF-8 continuation bytes are all >= 0x80, so this equals trimming the
# decoded text), then the text after the first "Input #0," (its leading space kept) and before the
# first "At least one output file must be specified" after that. The report area holds the path,
# "\n\n", and that text.
expect_report() {
  local LC_ALL=C output report
  output=$({ ffmpeg -i "$clip" </dev/null 2>&1 || true; } | tr -d '\000'; printf x)
  output=${output%x}
  output=${output##+([$'\001'-' '])}
  output=${output%%+([$'\001'-' '])}
  [[ $output == *"Input #0,"* ]] || fail "ffmpeg's output has no 'Input #0,': $output"
  iconv -f UTF-8 -t UTF-8 <<<"$output" >/dev/null 2>&1 ||
    fail "ffmpeg's output is not valid UTF-8; the program would show replacement characters"
  report=${output#*"Input #0,"}
  report=${report%%"At least one output file must be specified"*}
  printf '%s\n\n%s' "$clip" "$report" >"$1"
}

# The comparison is byte for byte, with one allowance: the clipboard may lack the report's final
# line break. The report area's text ends with "\n" (ffmpeg ends its description with one), and
# whether the empty line after it comes out of a select-all copy is Qt's business, not the
# program's. Nothing else may differ.
report_matches() { # EXPECTED ACTUAL
  cmp -s "$1" "$2" && return 0
  [[ $(tail -c 1 "$1" | od -An -tx1) == " 0a" ]] && head -c -1 "$1" | cmp -s - "$2"
}

# wait_for_report EXPECTED WHAT: copies the report area's text out until it matches (the probe
# may still run) or 30 s have passed; then shows the difference.
wait_for_report() {
  local deadline=$((SECONDS + 30))
  while :; do
    if x11_copy_text "$win" >"$tmp/actual" 2>"$tmp/copy.err" && report_matches "$1" "$tmp/actual"; then
      cmp -s "$1" "$tmp/actual" || echo "   (the clipboard lacks the final line break; allowed)"
      return 0
    fi
    ((SECONDS < deadline)) || break
    sleep 0.3
  done
  cat "$tmp/copy.err" >&2
  echo "--- diff of expected and actual report ($2):" >&2
  diff -u --label expected --label actual "$1" "$tmp/actual" >&2 || true
  echo "--- the ends of both, as bytes:" >&2
  tail -c 48 "$1" | od -c >&2
  tail -c 48 "$tmp/actual" | od -c >&2
  fail "the report area does not show the expected report ($2)"
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
