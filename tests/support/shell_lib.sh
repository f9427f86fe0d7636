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
