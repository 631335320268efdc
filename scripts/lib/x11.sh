# shellcheck shell=bash disable=SC2034 # sets variables for the scripts that source it
# Helpers for driving the real Quorvel on a virtual X display (Xvfb) with the keyboard, as a
# person would. Sourced, not run. See /work/shared/x11-testing.md for what works and the traps.
#
# Clean-up: sourcing this sets an EXIT trap that runs what x11_at_exit registered, newest first
# (Xvfb, the program, temporary folders). Register with x11_at_exit rather than setting your own
# EXIT trap. Functions print what went wrong to stderr and return non-zero; they do not exit.

x11_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# python3-xlib belongs to Debian's python; a python3 earlier on PATH may lack it.
x11_python=/usr/bin/python3
[[ -x $x11_python ]] || x11_python=python3

x11__exit_actions=()
x11_at_exit() { x11__exit_actions+=("$(printf '%q ' "$@")"); }
x11__run_exit_actions() {
  local i
  for ((i = ${#x11__exit_actions[@]} - 1; i >= 0; i--)); do eval "${x11__exit_actions[i]}" || true; done
  x11__exit_actions=()
}
trap x11__run_exit_actions EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

x11_error() { echo "error: $*" >&2; return 1; }

# Microseconds since the epoch, for deadlines: counting loop rounds is no bound when every
# xdotool call takes long on a busy machine.
x11__now() { x11_now=${EPOCHREALTIME//[!0-9]/}; }
# x11__before_deadline END: true while the time is before END (microseconds).
x11__before_deadline() { x11__now; ((x11_now < $1)); }

# Says which of the tools these helpers use are missing.
x11_require() {
  local tool missing=()
  for tool in Xvfb xdotool xclip xdpyinfo import ffmpeg; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  "$x11_python" -c 'import Xlib' 2>/dev/null || missing+=(python3-xlib)
  [[ ${#missing[@]} -eq 0 ]] || x11_error "missing: ${missing[*]} (bash scripts/setup installs them)"
}

# A temporary folder, removed at exit: sets x11_tmp.
x11_make_tmp() {
  x11_tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-x11.XXXXXX") || return 1
  x11_at_exit rm -rf "$x11_tmp"
}

# Kills process $1 once this shell has gone, even if it was killed with SIGKILL and its EXIT trap
# never ran. Only pids this script started are handed in.
x11__watch() {
  (while kill -0 $$ 2>/dev/null; do sleep 1; done; kill "$1" 2>/dev/null) >/dev/null 2>&1 &
  x11_at_exit kill $! # a no-op error if it has gone already
}

# Ends process $1 (started by us) if it still runs: TERM, then KILL after 3 s.
x11_end_process() {
  local end
  kill "$1" 2>/dev/null || return 0
  x11__now; end=$((x11_now + 3000000))
  while x11__before_deadline "$end"; do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null
  return 0
}

# Gives the programs started from here a fresh home in the temporary folder, so that no run
# differs from the next through settings (Qt's file dialog keeps its history and last folder
# there), a runtime folder if there is none, and the X11 platform even inside a Wayland session.
x11_fresh_home() {
  [[ -n ${x11_tmp:-} ]] || x11_make_tmp || return 1
  export HOME=$x11_tmp/home XDG_CONFIG_HOME=$x11_tmp/home/.config QT_QPA_PLATFORM=xcb
  mkdir -p "$XDG_CONFIG_HOME" || return 1
  if [[ -z ${XDG_RUNTIME_DIR:-} || ! -d $XDG_RUNTIME_DIR ]]; then
    export XDG_RUNTIME_DIR=$x11_tmp/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR" || return 1
  fi
  unset WAYLAND_DISPLAY
}

# Whether display :$1 looks taken: a lock file, a socket file, or an abstract socket (which a
# server that is going away may still hold after its files are gone).
x11__display_taken() {
  [[ -e /tmp/.X$1-lock || -e /tmp/.X11-unix/X$1 ]] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix
}

# Starts Xvfb on a free display and exports DISPLAY. Another run may take the same number at the
# same moment: then our server fails and the next number is tried. The server is ours once the
# lock file holds its pid, it answers, and it still runs a moment later.
# -noreset: by default the server resets when its last client leaves (here: xdpyinfo, xdotool),
# and a client that connects during the reset is refused ("could not connect to display").
x11_start_xvfb() {
  [[ -n ${x11_tmp:-} ]] || x11_make_tmp || return 1
  local n pid end
  for ((n = 90; n < 190; n++)); do
    x11__display_taken "$n" && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$x11_tmp/xvfb.log" 2>&1 &
    pid=$!
    x11_at_exit x11_end_process "$pid"
    x11__watch "$pid"
    x11__now; end=$((x11_now + 15000000))
    while x11__before_deadline "$end" && kill -0 "$pid" 2>/dev/null; do
      if [[ $( (tr -d ' ' </tmp/.X$n-lock) 2>/dev/null) == "$pid" ]] &&
        xdpyinfo -display ":$n" >/dev/null 2>&1 && sleep 0.2 && kill -0 "$pid" 2>/dev/null; then
        export DISPLAY=:$n
        x11_xvfb_pid=$pid
        return 0
      fi
      sleep 0.1
    done
    x11_end_process "$pid"
  done
  x11_error "could not start Xvfb (its last words: $(tail -n 3 "$x11_tmp/xvfb.log" 2>/dev/null))"
}

# Starts a program in the background, its output going to LOG; sets x11_program_pid.
# Usage: x11_start_program LOG PROGRAM [ARGUMENTS...]
x11_start_program() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 </dev/null &
  x11_program_pid=$!
  x11_at_exit x11_end_process "$x11_program_pid"
  x11__watch "$x11_program_pid"
}

# Waits until process $1 (a child of this shell) has ended, for at most $2 seconds; sets
# x11_exit_status.
x11_wait_exit() {
  local pid=$1 state end
  x11__now; end=$((x11_now + $2 * 1000000))
  while x11__before_deadline "$end"; do
    state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)
    if [[ -z $state || $state == Z ]]; then
      wait "$pid" && x11_exit_status=0 || x11_exit_status=$?
      return 0
    fi
    sleep 0.1
  done
  x11_error "process $pid still runs after $2 s"
}

# Prints the id of a visible window whose title matches the regular expression $1, waiting for
# it up to $2 seconds (default 20).
x11_wait_window() {
  local ids end
  x11__now; end=$((x11_now + ${2:-20} * 1000000))
  while x11__before_deadline "$end"; do
    if [[ -n ${x11_program_pid:-} ]] && ! kill -0 "$x11_program_pid" 2>/dev/null; then
      x11_error "the program (pid $x11_program_pid) has ended while waiting for window /$1/"
      return 1
    fi
    if ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) && [[ -n $ids ]]; then
      tail -n 1 <<<"$ids"
      return 0
    fi
    sleep 0.1
  done
  x11_error "no window titled /$1/ after ${2:-20} s"
}

# Returns 0 once no visible window's title matches $1, waiting up to $2 seconds.
x11_window_gone() {
  local end
  x11__now; end=$((x11_now + $2 * 1000000))
  while x11__before_deadline "$end"; do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Where window $1 is: sets x11_x and x11_y (its top-left corner on the screen), x11_width and
# x11_height.
x11_geometry() {
  local geometry WINDOW X Y WIDTH HEIGHT SCREEN
  geometry=$(xdotool getwindowgeometry --shell "$1") || x11_error "xdotool cannot tell where window $1 is" || return 1
  eval "$geometry"
  x11_x=$X x11_y=$Y x11_width=$WIDTH x11_height=$HEIGHT
}

# Gives window $1 the keyboard focus. (windowactivate needs a window manager.)
x11_focus() {
  timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 ||
    timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 ||
    x11_error "could not focus window $1"
}

# Puts a marker on the clipboard, so that a copy that did not happen is not mistaken for one.
# xclip -i stays behind as the owner: its output must not hold our pipes open.
x11__mark_clipboard() {
  x11__marker="x11-marker-$RANDOM$RANDOM"
  printf '%s' "$x11__marker" | xclip -selection clipboard -i >/dev/null 2>&1
}

# Copies the focused widget's whole text with ctrl+a ctrl+c and prints it exactly (keep it in a
# file: $(...) would drop trailing line breaks). Fails if nothing was copied.
x11__copy_focused() {
  local text end
  x11__mark_clipboard
  xdotool key --clearmodifiers ctrl+a ctrl+c
  x11__now; end=$((x11_now + 1000000))
  while :; do
    sleep 0.1
    text=$(timeout 5 xclip -selection clipboard -o 2>/dev/null; printf x)
    text=${text%x}
    [[ $text != "$x11__marker" ]] && { printf '%s' "$text"; return 0; }
    x11__before_deadline "$end" || return 1
  done
}

# Prints the text of the report area of main window $1 (which fills the window's middle), as the
# clipboard gets it. Click into it first: after a dialog the focus may be elsewhere and a leftover
# completion popup may take the first click, hence two clicks (ctrl+a undoes any word selection).
x11_copy_text() {
  local win=$1 WINDOW X Y WIDTH HEIGHT SCREEN
  x11_focus "$win" || return 1
  eval "$(xdotool getwindowgeometry --shell "$win")" || return 1
  xdotool mousemove --window "$win" $((WIDTH / 2)) $((HEIGHT / 2)) click 1 sleep 0.1 click 1
  x11__copy_focused || x11_error "nothing was copied from window $win (does it still respond?)"
}

# Copies the report area of window $1 out into file $3 until its text starts with $2 and goes on
# past it (a probe may still run), for at most $4 seconds (default 30).
x11_wait_text() {
  local win=$1 prefix=$2 out=$3 end text
  x11__now; end=$((x11_now + ${4:-30} * 1000000))
  while :; do
    if x11_copy_text "$win" >"$out" 2>/dev/null; then
      text=$(cat "$out"; printf x)
      [[ ${text%x} == "$prefix"?* ]] && return 0
    fi
    x11__before_deadline "$end" || break
    sleep 0.3
  done
  x11_error "window $win does not show a text starting with '$prefix' after ${4:-30} s"
}

# Gives every non-ASCII character of $1 a key of its own in the server's keymap. xdotool types a
# character that has no key by mapping a spare key for a moment; a busy program that reads the
# keymap after it was put back sees no character, and letters go missing. A key that stays put
# avoids that.
x11_bind_keys() {
  "$x11_python" - "$1" <<'EOF' || x11_error "could not add keys for the characters of '$1'"
import sys
from Xlib import display
d = display.Display()
first, last = d.display.info.min_keycode, d.display.info.max_keycode
keymap = d.get_keyboard_mapping(first, last - first + 1)
present = {keysym for keysyms in keymap for keysym in keysyms}
spare = [first + i for i, keysyms in enumerate(keymap) if not any(keysyms)]
for c in sorted({c for c in sys.argv[1] if ord(c) >= 0x80}):
    keysym = ord(c) if ord(c) <= 0xFF else 0x1000000 + ord(c)  # Latin-1 keysyms equal the code
    if keysym not in present:
        d.change_keyboard_mapping(spare.pop(), [(keysym, keysym)])
d.sync()
EOF
}

# File > Load File in main window $1 (Alt+F, L), then types the full path $2 into Qt's file
# dialog and confirms it with Return. The typed text is checked (copied back out of the name
# field) before confirming. A completion popup may take the first Return: if the dialog is
# still there, Return again. Returns once the dialog has closed.
x11_load_file() {
  local win=$1 path=$2 dialog='' typed='' try
  for try in 1 2; do
    x11_focus "$win" || return 1
    xdotool key --clearmodifiers alt+f l
    dialog=$(x11_wait_window '^Open$' 10 2>/dev/null) && break
    xdotool key --clearmodifiers Escape Escape # a menu left open
  done
  [[ -n $dialog ]] || x11_error "the Open dialog did not appear after Alt+F, L" || return 1
  x11_bind_keys "$path" || return 1
  x11_focus "$dialog" || return 1
  for try in 1 2 3; do
    xdotool key --clearmodifiers ctrl+a # typing replaces whatever is there
    xdotool type --delay 15 -- "$path"
    typed=$(x11__copy_focused) && [[ $typed == "$path" ]] && break
    echo "note: the name field holds '$typed'; typing again" >&2
  done
  [[ $typed == "$path" ]] || x11_error "the dialog's name field holds '$typed', not '$path'" || return 1
  xdotool key --clearmodifiers Return
  x11_window_gone '^Open$' 3 && return 0
  echo "note: the dialog is still open after Return (completion popup?); Return again" >&2
  xdotool key --clearmodifiers Return
  x11_window_gone '^Open$' 15 || x11_error "the Open dialog did not close after Return, Return"
}

# Help > About in main window $1 (Alt+H, A); prints the About box's window id once it shows.
x11_open_about() {
  x11_focus "$1" || return 1
  xdotool key --clearmodifiers alt+h a
  x11_wait_window '^About$' 20 || x11_error "the About box did not appear after Alt+H, A"
}

# Asks window $1 to close as a window manager would (WM_DELETE_WINDOW).
x11_close_window() {
  "$x11_python" "$x11_lib_dir/wmclose.py" "$1" || x11_error "could not send WM_DELETE_WINDOW to window $1"
}

# Saves a PNG of window $2 (default: the whole screen) to $1.
x11_screenshot() {
  import -window "${2:-root}" "$1" || x11_error "could not take a screenshot into $1"
}

# Writes to file $2 what the report area must hold once media file $1 has been probed: the path,
# "\n\n", and the cut of what ffmpeg prints into a pipe as the program runs it (ffmpeg -i PATH,
# stdin from /dev/null, stdout and stderr merged). Done on bytes as the program does it on the
# decoded text: NULs removed, bytes <= 0x20 trimmed at both ends of the whole output (UTF-8
# continuation bytes are all >= 0x80, so this equals trimming the decoded text), then the text
# after the first "Input #0," (its leading space kept) and before the first "At least one output
# file must be specified" after that.
x11_expected_report() {
  local LC_ALL=C output report lead trail
  output=$({ ffmpeg -i "$1" </dev/null 2>&1 || true; } | tr -d '\000'; printf x)
  output=${output%x}
  lead=${output%%[!$'\001'-' ']*}
  output=${output#"$lead"}
  trail=${output##*[!$'\001'-' ']}
  output=${output%"$trail"}
  [[ $output == *"Input #0,"* ]] || x11_error "ffmpeg's output for $1 has no 'Input #0,': $output" || return 1
  iconv -f UTF-8 -t UTF-8 <<<"$output" >/dev/null 2>&1 ||
    x11_error "ffmpeg's output for $1 is not valid UTF-8; the program would show replacement characters" ||
    return 1
  report=${output#*"Input #0,"}
  report=${report%%"At least one output file must be specified"*}
  printf '%s\n\n%s' "$1" "$report" >"$2"
}

# Whether the report copied out into file $2 is the one expected in file $1: byte for byte, with
# one allowance: the clipboard may lack the report's final line break. The report area's text ends
# with "\n" (ffmpeg ends its description with one), and whether the empty line after it comes out
# of a select-all copy is Qt's business, not the program's. Nothing else may differ.
x11_report_matches() {
  cmp -s "$1" "$2" && return 0
  [[ $(tail -c 1 "$1" | od -An -tx1) == " 0a" ]] && head -c -1 "$1" | cmp -s - "$2"
}

# Copies the report area of window $1 out into file $3 until it matches the report expected in
# file $2 (a probe may still run), for at most $4 seconds (default 30). If it never does, shows
# how the two differ.
x11_wait_report() {
  local win=$1 expected=$2 actual=$3 end
  x11__now; end=$((x11_now + ${4:-30} * 1000000))
  while :; do
    if x11_copy_text "$win" >"$actual" 2>"$actual.err" && x11_report_matches "$expected" "$actual"; then
      cmp -s "$expected" "$actual" || echo "   (the clipboard lacks the final line break; allowed)"
      return 0
    fi
    x11__before_deadline "$end" || break
    sleep 0.3
  done
  {
    cat "$actual.err"
    echo "--- diff of expected and actual report:"
    diff -u --label expected --label actual "$expected" "$actual" || true
    echo "--- the ends of both, as bytes:"
    tail -c 48 "$expected" | od -c
    tail -c 48 "$actual" | od -c
  } >&2
  x11_error "window $win does not show the report in $expected after ${4:-30} s"
}

# For the test scripts: x11_step MESSAGE prints it with the seconds since the library was
# sourced; x11_fail MESSAGE says what failed, shows what the programs started here printed (every
# log in the temporary folder) and, if Xvfb has ended, its own last words, then exits 1.
x11_started=$SECONDS
x11_step() { echo "[$((SECONDS - x11_started))s] $*"; }
x11_fail() {
  echo "FAIL: $*" >&2
  local log
  for log in "${x11_tmp:-/nonexistent}"/*.log; do
    [[ -s $log && ${log##*/} != xvfb.log ]] || continue
    echo "--- the output of ${log##*/}:" >&2
    cat "$log" >&2
  done
  if [[ -n ${x11_xvfb_pid:-} ]] && ! kill -0 "$x11_xvfb_pid" 2>/dev/null; then
    echo "--- Xvfb has ended; its output:" >&2
    cat "$x11_tmp/xvfb.log" >&2
  fi
  exit 1
}
