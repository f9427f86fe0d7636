# Shell helpers shared by the X11 checks and the benchmarks (source this file).

# tw_link_app_data APP DEST: makes DEST an application directory that uses the
# generated data and tuning files of APP (the build's folder) by symbolic
# links, with options and high scores of its own.
tw_link_app_data() {
  local app=$1 dest=$2 f
  mkdir -p "$dest/textures"
  for f in fonts sfx music font.ini wd.jpg wd_wow.jpg; do
    [ -e "$app/$f" ] && ln -s "$(realpath "$app/$f")" "$dest/$f"
  done
  [ -d "$app/textures" ] || return 0
  for f in "$app"/textures/*; do
    case "$(basename "$f")" in options.bmp|dot_black2.bmp|dot_white2.bmp) continue ;; esac
    ln -s "$(realpath "$f")" "$dest/textures/"
  done
}

# tw_use_tunings DEST: in the application directory DEST, puts the tuning
# files named by $TUNING_STORY and $TUNING_ARCADE (when set) in place of the
# build's, so that a tuning can be measured before it is installed.
tw_use_tunings() {
  local dest=$1
  if [ -n "${TUNING_STORY:-}" ]; then rm -f "$dest/textures/lvl1.bmp"; cp "$TUNING_STORY" "$dest/textures/lvl1.bmp"; fi
  if [ -n "${TUNING_ARCADE:-}" ]; then rm -f "$dest/textures/lvl2.bmp"; cp "$TUNING_ARCADE" "$dest/textures/lvl2.bmp"; fi
}

# tw_wait_for SECONDS COMMAND...: runs COMMAND every twentieth of a second
# until it succeeds; fails after SECONDS. The checks wait on the game's state
# (its --state file, the window, the files it saves), never for a fixed time.
tw_wait_for() {
  local limit=$1 i
  shift
  for i in $(seq $((limit * 20))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

# tw_find_window: sets TW_FOUND to the game's window once there is one.
# ("xdotool search --sync" fails outright when a window it lists goes away
# before it reads its name, as windows come and go while the game starts.)
tw_find_window() {
  TW_FOUND=$(xdotool search --name '^Tumblewell$' 2>/dev/null | head -1) || true
  [ -n "$TW_FOUND" ]
}
# tw_wait_window: waits for the game's window (60 seconds at most) and prints it.
tw_wait_window() { tw_wait_for 60 tw_find_window && echo "$TW_FOUND"; }

# tw_focus WINDOW: gives WINDOW the keyboard focus and waits until it has it
# (30 seconds at most; "windowfocus --sync" can wait for ever). The pointer
# goes over the window too: a window manager whose focus follows the mouse
# would otherwise hand the focus back to what is under it. Every other try
# asks the window manager instead (_NET_ACTIVE_WINDOW), in case it takes the
# focus back from a window that grabbed it by itself. On a timeout it says
# which window had the focus and which windows carry the game's name.
tw_focus() {
  local deadline=$((SECONDS + 30)) try=0
  while [ "$SECONDS" -lt "$deadline" ]; do
    try=$((try + 1))
    tw_try_focus "$1" "$try" && return 0
    sleep 0.1
  done
  local has
  has=$(xdotool getwindowfocus 2>/dev/null) || true
  echo "the focus stayed on window ${has:-none} ($(xdotool getwindowname "$has" 2>/dev/null)) after $try tries;" \
    "windows named Tumblewell: $(xdotool search --name '^Tumblewell$' 2>/dev/null | tr '\n' ' ')"
  return 1
}
tw_try_focus() {
  timeout 5 xdotool mousemove --window "$1" 200 150 >/dev/null 2>&1 || true
  if [ $(($2 % 2)) -eq 0 ]; then
    timeout 5 xdotool windowactivate "$1" >/dev/null 2>&1 || true
  else
    timeout 5 xdotool windowfocus "$1" >/dev/null 2>&1 || true
  fi
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# tw_state_is FILE PATTERN: the game's --state line matches the extended
# regular expression PATTERN.
tw_state_is() { grep -Eq -- "$2" "$1" 2>/dev/null; }

# tw_wait_state FILE PATTERN [SECONDS]: waits until the --state line matches
# PATTERN (30 seconds at most); on a timeout says what the state was.
tw_wait_state() {
  tw_wait_for "${3:-30}" tw_state_is "$1" "$2" && return 0
  echo "FAIL: waited for state /$2/; the state is: $(cat "$1" 2>/dev/null)"
  return 1
}

# tw_state_frame FILE: the frame the --state line was written in.
tw_state_frame() { sed -n 's/^frame=\([0-9]*\).*/\1/p' "$1" 2>/dev/null; }

# tw_wait_frames FILE N: waits until the game has run N more frames (the
# state file is rewritten at least every 50 frames).
tw_wait_frames() {
  local file=$1 until
  until=$(($(tw_state_frame "$file") + $2))
  tw_wait_for 60 tw_frame_reached "$file" "$until" && return 0
  echo "FAIL: the game did not reach frame $until; the state is: $(cat "$file" 2>/dev/null)"
  return 1
}
tw_frame_reached() { [ "$(tw_state_frame "$1")" -ge "$2" ]; }

# tw_start_xvfb: starts a private X server on a display number it picks itself
# (so checks running side by side never collide); exports DISPLAY and sets
# TW_XVFB_PID.
tw_start_xvfb() {
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  TW_XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$numfile" ] && break
    sleep 0.1
  done
  DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
  export DISPLAY
  rm -f "$numfile"
  for _ in $(seq 300); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# tw_run_game_in_xvfb BIN [ARGS...]: under a private X server, starts BIN (with
# the extra game arguments, if any) in a fresh application directory (options and scores of its own,
# report written at shut-down, state kept in state) and waits for its window
# and its first frame. Sets TW_WORK (the scratch folder: data/, config/,
# report.json, state, out, err), TW_GAME_PID and TW_WINDOW; everything is
# stopped and removed when the script exits.
tw_run_game_in_xvfb() {
  local bin=$1
  shift
  TW_WORK=$(mktemp -d)
  TW_GAME_PID=
  trap '[ -n "${TW_GAME_PID:-}" ] && kill "$TW_GAME_PID" 2>/dev/null; [ -n "${TW_XVFB_PID:-}" ] && kill "$TW_XVFB_PID" 2>/dev/null; rm -rf "$TW_WORK"' EXIT
  tw_start_xvfb
  tw_link_app_data "$(dirname "$bin")" "$TW_WORK/data"
  XDG_CONFIG_HOME="$TW_WORK/config" SDL_AUDIODRIVER=dummy "$bin" --data "$TW_WORK/data" \
    --report "$TW_WORK/report.json" --state "$TW_WORK/state" "$@" >"$TW_WORK/out" 2>"$TW_WORK/err" &
  TW_GAME_PID=$!
  tw_wait_state "$TW_WORK/state" '^frame=' 60 || return 1
  TW_WINDOW=$(tw_wait_window) || true
  [ -n "$TW_WINDOW" ] || { echo "FAIL: no window"; return 1; }
}

# tw_start_desktop APP: a scratch folder $WORK with an application directory
# using APP's data, a private X server and a small window manager (evilwm),
# all stopped and removed when the script exits, with a game started by
# tw_launch_in_window; defines fail.
tw_start_desktop() {
  WORK=$(mktemp -d)
  GPID=
  WMPID=
  trap '[ -n "$GPID" ] && kill "$GPID" 2>/dev/null; [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null;
        [ -n "${TW_XVFB_PID:-}" ] && kill "$TW_XVFB_PID" 2>/dev/null; rm -rf "$WORK"' EXIT
  tw_start_xvfb
  evilwm -fn fixed >/dev/null 2>&1 &
  WMPID=$!
  tw_link_app_data "$1" "$WORK/data"
}
fail() { echo "FAIL: $*"; exit 1; }

# tw_launch_in_window NAME PATTERN ARGS...: starts $BIN (with ARGS) in the
# scratch folder $WORK, with options of its own and the state file
# $WORK/NAME.state; waits for its window and for a state line matching
# PATTERN, then gives the window the focus. Sets GPID, WID and STATE.
tw_launch_in_window() {
  local name=$1 pattern=$2
  shift 2
  STATE=$WORK/$name.state
  XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy "$BIN" --data "$WORK/data" --state "$STATE" "$@" \
    >"$WORK/$name.out" 2>"$WORK/$name.err" &
  GPID=$!
  # The window is looked for once the game runs: the first one a renderer is
  # made for may still be replaced by one it can draw on.
  tw_wait_state "$STATE" "$pattern" 60 || exit 1
  WID=$(tw_wait_window) || true
  [ -n "$WID" ] || fail "no window"
  tw_focus "$WID" || fail "the window did not get the focus"
}

# tw_close_window NAME: a polite close of the game tw_launch_in_window
# started, which must then end with code 0 ($CLOSE sends the close).
tw_close_window() {
  "$CLOSE" "$WID"
  tw_wait_for 30 tw_game_gone || fail "the game did not close"
  wait "$GPID" || fail "exit code $? ($(cat "$WORK/$1.err"))"
  GPID=
}
tw_game_gone() { ! kill -0 "$GPID" 2>/dev/null; }
