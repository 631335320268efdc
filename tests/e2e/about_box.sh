#!/usr/bin/env bash
# End-to-end test of the About box in the real executable on a virtual X display of its own,
# driven with the keyboard as a person would:
#   1. Help > About (Alt+H, A) opens a window titled "About", centred on the screen;
#   2. Esc leaves it open, Return (its default button OK) closes it;
#   3. it opens again, centred again, and the title-bar close button (WM_DELETE_WINDOW) closes it;
#   4. closing the main window as a window manager does ends the program.
# Usage: about_box.sh PATH/TO/quorvel   (CTest: e2e_about_box)
set -euo pipefail
program=${1:?usage: about_box.sh PATH/TO/quorvel}
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/x11.sh"

# How far from the screen's middle the box may be, in pixels: an odd size splits unevenly.
centre_tolerance=3
# How long Esc has to close the box, if it did: a key reaches a program well within this.
esc_grace=2

# require_centred WINDOW: the window's middle is the screen's, within the tolerance.
require_centred() {
  local screen screen_width screen_height dx dy where
  x11_geometry "$1" || x11_fail "where is the About box?"
  screen=$(xdotool getdisplaygeometry) || x11_fail "xdotool cannot tell the screen's size"
  read -r screen_width screen_height <<<"$screen"
  # Twice the distance between the middles, to stay with whole numbers.
  dx=$((2 * x11_x + x11_width - screen_width)) dy=$((2 * x11_y + x11_height - screen_height))
  where="the About box (${x11_width}x$x11_height at $x11_x,$x11_y)"
  dx=${dx#-} dy=${dy#-}
  ((dx <= 2 * centre_tolerance && dy <= 2 * centre_tolerance)) ||
    x11_fail "$where is not centred on the ${screen_width}x$screen_height screen"
  x11_step "$where is centred on the ${screen_width}x$screen_height screen"
}

x11_require || x11_fail "tools are missing"
[[ -x $program ]] || x11_fail "no executable at $program"
x11_make_tmp || x11_fail "no temporary folder"
tmp=$x11_tmp
x11_fresh_home || x11_fail "no home of its own"

x11_step "starting Xvfb"
x11_start_xvfb || x11_fail "Xvfb did not start"
x11_step "starting $program on $DISPLAY"
x11_start_program "$tmp/quorvel.log" "$program"
win=$(x11_wait_window '^Quorvel 1\.2\.5$' 30) || x11_fail "the main window 'Quorvel 1.2.5' did not appear"

x11_step "Help > About (Alt+H, A)"
about=$(x11_open_about "$win") || x11_fail "Help > About"
require_centred "$about"

x11_step "Esc: the box stays open"
x11_focus "$about" || x11_fail "could not focus the About box"
xdotool key --clearmodifiers Escape
x11_window_gone '^About$' "$esc_grace" && x11_fail "Esc closed the About box"
[[ $(xdotool search --onlyvisible --name '^About$') == "$about" ]] || x11_fail "the About box is not the one that was open"

x11_step "Return: the box closes"
xdotool key --clearmodifiers Return
x11_window_gone '^About$' 20 || x11_fail "the About box is still open 20 s after Return"

x11_step "Help > About again, then the title-bar close button"
about=$(x11_open_about "$win") || x11_fail "Help > About, the second time"
require_centred "$about"
x11_close_window "$about" || x11_fail "could not ask the About box to close"
x11_window_gone '^About$' 20 || x11_fail "the About box is still open 20 s after WM_DELETE_WINDOW"

x11_step "closing the main window (WM_DELETE_WINDOW)"
x11_close_window "$win" || x11_fail "could not ask the window to close"
x11_wait_exit "$x11_program_pid" 20 || x11_fail "the program did not end within 20 s of WM_DELETE_WINDOW"
[[ $x11_exit_status -eq 0 ]] || x11_fail "the program ended with status $x11_exit_status"
x11_step "PASS: the program ended (status 0)"
