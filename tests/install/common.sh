# Pieces shared by the install and package checks (sourced, not run): a
# scratch folder, an unprivileged player, and the installed game run as that
# player with its home and data folders in the scratch folder.

fail() { echo "FAIL: $*"; exit 1; }

# Exits with 77 (CTest's skip) unless every tool named is installed.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
  done
}

# WORK: a fresh scratch folder the player can reach, removed on exit (the
# installed tree in it may have been made read-only).
make_scratch() {
  WORK=$(mktemp -d)
  chmod 755 "$WORK"
  trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
}

# RUN: what runs a command as the player. As root, permissions do not stop
# writes, so the game then runs as nobody; any other user is unprivileged
# already. $WORK/home and $WORK/out become the player's.
setup_player() {
  RUN=()
  if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null || { echo "SKIP: running as root without setpriv"; exit 77; }
    RUN=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  mkdir -p "$WORK/home" "$WORK/out"
  [ ${#RUN[@]} -eq 0 ] || chown 65534:65534 "$WORK/home" "$WORK/out"
}

# game ARGS...: the game at $GAME_BIN, not waiting between frames, as the
# player, in a clean environment whose folders are under $WORK/home.
game() {
  env -i HOME="$WORK/home" XDG_DATA_HOME="${XDG_DATA_HOME_FOR_RUN:-$WORK/home/data}" \
    XDG_CONFIG_HOME="$WORK/home/config" XDG_PICTURES_DIR="$WORK/home/pictures" SDL_AUDIODRIVER=dummy \
    PATH=/usr/bin:/bin "${RUN[@]}" "$GAME_BIN" --fast "$@"
}

# report FILE EXPR: prints the Python expression EXPR over the JSON report
# FILE, read as d.
report() { python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(eval(sys.argv[2]))' "$@"; }
