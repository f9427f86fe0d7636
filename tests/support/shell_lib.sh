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

# tw_retry_once "$0" "$@": at the top of a check paced by fixed sleeps, runs
# the check once more when the first try fails, since a heavily loaded machine
# can miss a pace; a skip (77) or a pass ends at once, two failures fail.
tw_retry_once() {
  [ -n "${TW_RETRYING:-}" ] && return 0
  local code=0
  TW_RETRYING=1 "$@" || code=$?
  if [ "$code" = 0 ] || [ "$code" = 77 ]; then exit "$code"; fi
  echo "first try failed (exit $code); trying once more"
  TW_RETRYING=1 exec "$@"
}

# tw_start_xvfb: starts a private X server on a display number it picks itself
# (so checks running side by side never collide); exports DISPLAY and sets
# TW_XVFB_PID.
tw_start_xvfb() {
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  TW_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$numfile" ] && break
    sleep 0.1
  done
  DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
  export DISPLAY
  rm -f "$numfile"
  for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# tw_run_game_in_xvfb BIN [ARGS...]: under a private X server, starts BIN (with
# the extra game arguments, if any) in a fresh application directory (options and scores of its own,
# report written at shut-down) and waits for its window. Sets TW_WORK (the
# scratch folder: data/, config/, report.json, out, err), TW_GAME_PID and
# TW_WINDOW; everything is stopped and removed when the script exits.
tw_run_game_in_xvfb() {
  local bin=$1
  shift
  TW_WORK=$(mktemp -d)
  TW_GAME_PID=
  trap '[ -n "${TW_GAME_PID:-}" ] && kill "$TW_GAME_PID" 2>/dev/null; [ -n "${TW_XVFB_PID:-}" ] && kill "$TW_XVFB_PID" 2>/dev/null; rm -rf "$TW_WORK"' EXIT
  tw_start_xvfb
  tw_link_app_data "$(dirname "$bin")" "$TW_WORK/data"
  XDG_CONFIG_HOME="$TW_WORK/config" SDL_AUDIODRIVER=dummy "$bin" --data "$TW_WORK/data" \
    --report "$TW_WORK/report.json" "$@" >"$TW_WORK/out" 2>"$TW_WORK/err" &
  TW_GAME_PID=$!
  TW_WINDOW=$(timeout 20 xdotool search --sync --name '^Tumblewell$' | head -1)
  [ -n "$TW_WINDOW" ] || { echo "FAIL: no window"; return 1; }
}
