#!/usr/bin/env bash
# End-to-end test of dropping files onto the real executable as a person does it: a drag source of
# our own (dragsource, which asks for a move as a file manager does with Shift held) beside the
# real Quorvel on a virtual X display of their own, the pointer pressed, moved and released with
# xdotool, so that the drop travels through the X server's drag-and-drop protocol (XDND):
#   1. two clips (the second's name with spaces and non-ASCII letters) and then a text file,
#      dropped onto the report area: the target takes the drop as a copy, not the move proposed;
#      the report area then holds exactly the second clip's report (the files probed in order,
#      the text file skipped), and all three files are still there;
#   2. another clip dragged over the report area (which would take it) on to the tab header,
#      and again on to the menu bar: both refuse it, nothing is dropped, the report is unchanged;
#   3. closing both windows as a window manager does ends both programs.
# Usage: drop_files.sh PATH/TO/quorvel PATH/TO/dragsource   (CTest: e2e_drop_files)
set -euo pipefail
program=${1:?usage: drop_files.sh PATH/TO/quorvel PATH/TO/dragsource}
dragsource=${2:?usage: drop_files.sh PATH/TO/quorvel PATH/TO/dragsource}
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/x11.sh"

# Where the drops go, in pixels from the main window's top-left corner, as the window is laid out
# with Debian 12's fonts: the menu bar is the top 17 rows, the tab header the next 24 with its one
# tab "Main" 50 pixels wide; the report area fills the rest. Each point is about 10 pixels from
# the edges of its part.
tab_header_x=25 tab_header_y=30
menu_bar_x=300 menu_bar_y=9
# A drag does not always see the last move (the source waits for the target's answer to the one
# before): the pointer is then moved by this much and back until the answer comes.
nudge_pixels=4

x11_require || x11_fail "tools are missing"
[[ -x $program ]] || x11_fail "no executable at $program"
[[ -x $dragsource ]] || x11_fail "no drag source at $dragsource"
x11_make_tmp || x11_fail "no temporary folder"
tmp=$x11_tmp
x11_fresh_home || x11_fail "no home of its own"

folder="$tmp/Dropped files"
first="$folder/first clip.mp4"
second="$folder/Fête à Tromsø – über Ål.mkv"
notes="$folder/notes.txt"
other="$folder/other clip.mp4"
mkdir -p "$folder"

# make_clip PATH TITLE: a small clip with video, audio and a title.
make_clip() {
  ffmpeg -y -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25:duration=1" \
    -f lavfi -i "sine=frequency=440:duration=1" -metadata title="$2" \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$1" </dev/null ||
    x11_fail "ffmpeg could not make $1"
}

# The source prints a line each time the action on offer changes and one when the drag ends.
source_said() { tail -n 1 "$tmp/source.log" 2>/dev/null; }

# start_source FILE...: the drag source for these files, left of the main window; sets source_pid,
# source_win, and the pointer position to press at (source_x, source_y).
start_source() {
  local left top
  x11_start_program "$tmp/source.log" "$dragsource" "$@"
  source_pid=$x11_program_pid
  source_win=$(x11_wait_window '^Quorvel drag source$' 30) || x11_fail "the drag source's window did not appear"
  x11_program_pid=$quorvel_pid
  x11_geometry "$source_win" || x11_fail "where is the drag source?"
  left=$((main_x - x11_width - 60)) top=$((main_y + main_height / 2 - x11_height / 2))
  ((left >= 0)) || x11_fail "no room for the drag source left of the main window"
  xdotool windowmove --sync "$source_win" "$left" "$top" || x11_fail "could not move the drag source"
  source_x=$((left + x11_width / 2)) source_y=$((top + x11_height / 2))
}

# close_source: closes the drag source as a window manager would; it must end at once.
close_source() {
  x11_close_window "$source_win" || x11_fail "could not ask the drag source to close"
  x11_wait_exit "$source_pid" 20 || x11_fail "the drag source did not end"
  [[ $x11_exit_status -eq 0 ]] || x11_fail "the drag source ended with status $x11_exit_status"
}

# pointer_to X Y: moves the pointer there in steps from where it is, as a hand would; a drag
# follows the moves in between.
pointer_to() {
  local location from_x from_y i moves=()
  location=$(xdotool getmouselocation) || x11_fail "xdotool cannot tell where the pointer is"
  from_x=${location#x:} from_x=${from_x%% *}
  from_y=${location#* y:} from_y=${from_y%% *}
  for ((i = 1; i <= 8; i++)); do
    moves+=(mousemove $((from_x + ($1 - from_x) * i / 8)) $((from_y + ($2 - from_y) * i / 8)) sleep 0.05)
  done
  xdotool "${moves[@]}"
}

# drag_start: presses the button on the drag source, which starts the drag.
drag_start() {
  pointer_to "$source_x" "$source_y"
  xdotool mousedown 1
}

# drag_over X Y ACTION WHERE: moves the dragging pointer to X Y and waits until the target there
# has answered that it takes ACTION (ignore: refuses the drop).
drag_over() {
  local x=$1 y=$2 want="action $3" end nudge=0
  pointer_to "$x" "$y"
  x11__now; end=$((x11_now + 20000000))
  until [[ $(source_said) == "$want" ]]; do
    x11__before_deadline "$end" ||
      x11_fail "over $4 the drag source says '$(source_said)', not '$want' after 20 s"
    sleep 0.3
    nudge=$((nudge_pixels - nudge))
    xdotool mousemove $((x + nudge)) "$y"
  done
}

# drag_end ACTION: releases the button and waits until the drag source says the drag has ended
# with ACTION.
drag_end() {
  local want="done $1" end
  xdotool mouseup 1
  x11__now; end=$((x11_now + 20000000))
  until [[ $(source_said) == "$want" ]]; do
    x11__before_deadline "$end" || x11_fail "the drag source says '$(source_said)', not '$want' after 20 s"
    sleep 0.1
  done
}

# report_unchanged WHERE: after a refused drop, the report area still holds the second clip's
# report: nothing was probed.
report_unchanged() {
  sleep 1 # a probe, had one started, would have shown by now
  x11_wait_report "$win" "$tmp/expected" "$tmp/actual" 10 || x11_fail "the report changed after a drag onto $1"
}

require_files() {
  local file
  for file in "$@"; do
    [[ -f $file ]] || x11_fail "the dropped file $file has gone"
  done
}

x11_step "making clips and a text file in $folder"
make_clip "$first" "First"
make_clip "$second" "Zweite"
make_clip "$other" "Other"
echo "Not a clip." >"$notes"
x11_expected_report "$second" "$tmp/expected" || x11_fail "cannot tell what the report must be"
x11_expected_report "$other" "$tmp/expected-other" || x11_fail "cannot tell what the other report would be"
cmp -s "$tmp/expected" "$tmp/expected-other" && x11_fail "the two clips' reports should differ"

x11_step "starting Xvfb"
x11_start_xvfb || x11_fail "Xvfb did not start"
x11_step "starting $program on $DISPLAY"
x11_start_program "$tmp/quorvel.log" "$program"
quorvel_pid=$x11_program_pid
win=$(x11_wait_window '^Quorvel 1\.2\.5$' 30) || x11_fail "the main window 'Quorvel 1.2.5' did not appear"
x11_geometry "$win" || x11_fail "where is the main window?"
main_x=$x11_x main_y=$x11_y main_width=$x11_width main_height=$x11_height
report_x=$((main_x + main_width / 2)) report_y=$((main_y + main_height / 2))

x11_step "dragging both clips and the text file onto the report area, a move proposed"
start_source "$first" "$second" "$notes"
drag_start
drag_over "$report_x" "$report_y" copy "the report area"
drag_end copy
x11_wait_report "$win" "$tmp/expected" "$tmp/actual" ||
  x11_fail "the report area does not show the second clip's report after the drop"
require_files "$first" "$second" "$notes"
x11_step "the report is the second clip's; the drop was a copy and the files are still there"
close_source

start_source "$other"
x11_step "dragging another clip over the report area on to the tab header"
drag_start
drag_over "$report_x" "$report_y" copy "the report area"
drag_over $((main_x + tab_header_x)) $((main_y + tab_header_y)) ignore "the tab header"
drag_end ignore
report_unchanged "the tab header"

x11_step "dragging it over the report area on to the menu bar"
drag_start
drag_over "$report_x" "$report_y" copy "the report area"
drag_over $((main_x + menu_bar_x)) $((main_y + menu_bar_y)) ignore "the menu bar"
drag_end ignore
report_unchanged "the menu bar"
require_files "$other"
x11_step "both refused the drop; the report is unchanged"

x11_step "closing both windows (WM_DELETE_WINDOW)"
close_source
x11_close_window "$win" || x11_fail "could not ask the window to close"
x11_wait_exit "$quorvel_pid" 20 || x11_fail "the program did not end within 20 s of WM_DELETE_WINDOW"
[[ $x11_exit_status -eq 0 ]] || x11_fail "the program ended with status $x11_exit_status"
x11_step "PASS: the program ended (status 0)"
