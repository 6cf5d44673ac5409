# Running the Windows build's programs under wine; sourced by the scripts that test that build.
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all

# Readies the wine prefix in build directory $1, a home whose ALSA default is the null device
# (wine offers a wave-out device over it, which plays into nothing), and one wine server for the
# runs that follow, started here so that it does not hold on to the output of the first run. The
# server is ended when the calling script ends, so no wine process stays behind.
wine_start() {  # build-dir
  export WINEPREFIX=$PWD/$1/wineprefix
  wave_home=$PWD/$1/alsa-null
  mkdir -p "$WINEPREFIX" "$wave_home"
  printf 'pcm.!default {\n  type null\n}\n' >"$wave_home/.asoundrc"
  /usr/lib/wine/wineserver -p 30 </dev/null >/dev/null 2>&1 || true  # one may already serve this prefix
  trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
  "$wine" wineboot --init </dev/null >/dev/null 2>&1
}

# Runs a shell command in a detached 80x25 tmux pane, where wine gives its program a real console
# (the Windows console back end's tests need one), with its output in file $1, then printed.
# Returns the command's status, or 124 when it has not finished after $2 seconds.
wine_console() {  # log seconds command
  local status=$1.status session=domrak-wine-$$
  rm -f "$1" "$status"
  # A tmux server of its own: a server already running would give the pane its environment, not
  # this script's WINEPREFIX.
  tmux -L "$session" new-session -d -s "$session" -x 80 -y 25 "$3 >'$1' 2>&1; echo \$? >'$status'"
  for _ in $(seq "$2"); do
    [ -f "$status" ] && break
    sleep 1
  done
  tmux -L "$session" kill-server 2>/dev/null || true
  cat "$1" 2>/dev/null
  [ -f "$status" ] || return 124
  return "$(cat "$status")"
}
