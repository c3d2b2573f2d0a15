# Sourced by the tests that drive the Linux program on Wayland with no X server:
# a private sway (wlroots' headless back end, drawn with pixman, no input
# devices) with one output at a given scale, commands run as the compositor's
# user, windows found in sway's tree, pictures taken with grim and keys sent with
# wtype. Shares x_session.sh's waits, home and picture counts; the sourcing script
# sets X_TMP and ends with x_stop.
declare -F wait_for >/dev/null || source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"

# sway will not run as root: as root, the session (sway, the game, grim, wtype)
# runs as a uid that no account uses, with no groups.
WL_USER=()
if [[ $(id -u) == 0 ]]; then
  wl_uid=64000
  while getent passwd "$wl_uid" >/dev/null || getent group "$wl_uid" >/dev/null; do
    wl_uid=$((wl_uid + 1))
  done
  WL_USER=(setpriv "--reuid=$wl_uid" "--regid=$wl_uid" --clear-groups)
fi

# wl_run COMMAND...: runs COMMAND as the session's user, in the session. In the
# background, start "${WL_RUN[@]}" COMMAND... instead: $! is then COMMAND's pid.
wl_run() { "${WL_RUN[@]}" "$@"; }

# start_sway SCALE: starts sway with its output HEADLESS-1 at SCALE and waits
# until it answers; exports WAYLAND_DISPLAY and SWAYSOCK, unsets DISPLAY.
start_sway() {
  unset DISPLAY WAYLAND_DISPLAY
  chmod 755 "$X_TMP"
  WL_RUNTIME="$X_TMP/runtime"
  mkdir -p "$WL_RUNTIME"
  chmod 700 "$WL_RUNTIME"
  # The game and sway may write caches (Mesa's shaders) into the session's home.
  [[ ${#WL_USER[@]} == 0 ]] || chown "$wl_uid:$wl_uid" "$WL_RUNTIME" "$HOME"
  cat >"$X_TMP/sway.config" <<EOF
output HEADLESS-1 resolution 1024x768 scale $1
xwayland disable
EOF
  # sway makes its IPC socket where SWAYSOCK points when nothing is there yet.
  export SWAYSOCK="$WL_RUNTIME/sway-ipc.sock"
  env -u DISPLAY XDG_RUNTIME_DIR="$WL_RUNTIME" SWAYSOCK="$SWAYSOCK" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${WL_USER[@]}" \
    sway -c "$X_TMP/sway.config" >"$X_TMP/sway.log" 2>&1 &
  X_PIDS+=($!)
  sway_ready() {
    local socket
    socket=$(cd "$WL_RUNTIME" && ls wayland-[0-9] 2>/dev/null | head -n1) && [[ -n $socket ]] &&
      export WAYLAND_DISPLAY=$socket && wl_run swaymsg -t get_outputs >/dev/null
  }
  WL_RUN=(env -u DISPLAY XDG_RUNTIME_DIR="$WL_RUNTIME" SWAYSOCK="$SWAYSOCK" "${WL_USER[@]}")
  wait_for 10 sway_ready || fail "sway did not start: $(cat "$X_TMP/sway.log")"
  wl_hold_keyboard
}

# wl_hold_keyboard: gives the seat a virtual keyboard of wtype's for the rest of
# the session, and makes it the seat's current one. With no input devices the
# seat has no keyboard until wtype brings one, and a window bound to the seat
# before takes the first key only after it. Call it again before starting a
# program once a wtype has come and gone: sway then sends a new client no keymap,
# on which SDL 2.26 crashes. It types one key (to no window) so that it has one.
wl_hold_keyboard() {
  local before
  keyboards() { wl_run swaymsg -t get_seats | jq '[.[0].devices[] | select(.type == "keyboard")] | length'; }
  before=$(keyboards) || fail "swaymsg get_seats"
  "${WL_RUN[@]}" wtype -k F24 -s 86400000 &
  X_PIDS+=($!)
  one_more_keyboard() { (($(keyboards) > before)); }
  wait_for 10 one_more_keyboard || fail "the seat got no keyboard"
}

# wl_view TITLE: "X Y WIDTH HEIGHT FOCUSED FLOATING APP_ID" of the one window
# titled TITLE, its client area in the output's logical pixels; fails unless
# exactly one such window is mapped.
wl_view() {
  local views
  views=$(wl_run swaymsg -t get_tree | jq -r --arg title "$1" '
    .. | objects | select((.type? == "con" or .type? == "floating_con") and .name? == $title
                          and .pid? != null)
    | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height) \(.focused) \(.type == "floating_con") \(.app_id)"')
  [[ -n $views && $(wc -l <<<"$views") == 1 ]] && echo "$views"
}

# wl_focused TITLE: the window titled TITLE is mapped and has the keyboard.
wl_focused() { [[ $(wl_view "$1" | cut -d' ' -f5) == true ]]; }

# wl_shoot TITLE FILE: a picture of the window's client area in device pixels.
wl_shoot() {
  local x y w h
  read -r x y w h _ < <(wl_view "$1") || return 1
  wl_run grim -g "$x,$y ${w}x$h" - >"$2"
}
