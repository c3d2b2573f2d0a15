# Sourced by the shell tests that drive real windows (the Linux program and, under
# Wine, the Windows one): a private Xvfb and openbox, waits that poll a condition
# with a time limit, windows found by title, and pixel counts between pictures.
# The sourcing script sets X_TMP to a scratch directory and ends with x_stop.

# What the session starts (openbox, Wine, the game) gets a home of its own in the
# scratch directory: nothing it writes (openbox's cache, Wine's menus, a config
# folder) lands in the user's home.
export HOME="$X_TMP/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
export XDG_DATA_HOME="$HOME/.local/share" XDG_STATE_HOME="$HOME/.local/state"
mkdir -p "$HOME"

X_PIDS=()   # what the session started, ended in reverse order by x_stop
X_FAILED=0  # set by fail, so a script can keep its files for a look

fail() {
  echo "FAIL: $*" >&2
  X_FAILED=1
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every 20 ms until it succeeds; false
# if it has not after SECONDS, times X_WAIT_SCALE for a program that runs slower
# than natively (an ARM one under emulation).
wait_for() {
  local deadline=$((SECONDS + $1 * ${X_WAIT_SCALE:-1}))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS <= deadline)) || return 1
    sleep 0.02
  done
}

# Starts Xvfb on a display it picks itself and exports DISPLAY. -noreset: by
# default the server restarts whenever its last client leaves, refusing
# connections meanwhile.
start_xvfb() {
  local fd="$X_TMP/displayfd"
  : >"$fd"
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$fd" 2>"$X_TMP/xvfb.log" &
  X_PIDS+=($!)
  wait_for 10 grep -q '[0-9]' "$fd" || fail "Xvfb did not start: $(cat "$X_TMP/xvfb.log")"
  export DISPLAY=":$(head -n1 "$fd")"
}

# start_openbox [openbox args...]: starts openbox and waits until it manages
# windows. It claims the screen before it is ready; the theme and the work area
# are the last things it sets up before its event loop.
start_openbox() {
  openbox --sm-disable "$@" >"$X_TMP/openbox.log" 2>&1 &
  X_PIDS+=($!)
  openbox_ready() {
    local props
    props=$(xprop -root _OB_THEME _NET_WORKAREA) &&
      [[ $props == *"_OB_THEME("*"_NET_WORKAREA("* ]]
  }
  wait_for 10 openbox_ready || fail "openbox did not start: $(cat "$X_TMP/openbox.log")"
}

# Ends what the session started, newest first.
x_stop() {
  local i
  for ((i = ${#X_PIDS[@]} - 1; i >= 0; i--)); do
    { kill "${X_PIDS[i]}" && wait "${X_PIDS[i]}"; } 2>/dev/null || true
  done
  X_PIDS=()
}

# The ids of the top-level windows titled exactly $1, one a line. xwininfo sees
# UTF-8 titles (SDL's message box has one) that `xdotool search --name` misses.
windows_named() {
  xwininfo -root -tree | awk -v title=" \"$1\": " 'index($0, title) { print $1 }' || true
}

# has_focus WIN: the window (hex or decimal id) has the keyboard focus.
has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == $(($1)) ]]; }

# client_geometry WIN: "X Y WIDTH HEIGHT" of the window's client area on screen.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$NF} /Absolute upper-left Y:/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}'
}

# pixels_differ A B: how many pixels differ between two pictures of one size.
pixels_differ() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 >/dev/null) || true
  [[ $count =~ ^[0-9]+$ ]] && echo "$count" || echo 999999
}
