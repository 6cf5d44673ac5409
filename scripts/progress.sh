# Progress for the set-up scripts (sourced): one status line on a terminal, every step's full
# output in a log file, and on failure what failed, the end of its log and where the log is.
# Steps that have nothing to do print nothing.

shopt -s lastpipe  # a pipeline's last part runs in this shell, so it can keep what it saw

progress_shown=""  # set once the current step has put something on the screen
progress_start=$SECONDS

# progress_show TEXT: shows TEXT as the step's status; on a terminal it replaces the last status,
# elsewhere (a CI log) only a step's first status is printed.
progress_show() {
  if [ -t 2 ]; then
    printf '\r\033[K%s' "$1" >&2
  elif [ -z "$progress_shown" ]; then
    printf '%s\n' "$1" >&2
  fi
  progress_shown=1
}

# progress_end TEXT: closes a step that showed something with TEXT and the time it took.
progress_end() {
  [ -n "$progress_shown" ] || return 0
  [ -t 2 ] && printf '\r\033[K' >&2
  printf '%s in %d s\n' "$1" $((SECONDS - progress_start)) >&2
  progress_shown=""
}

# progress_fail WHAT LOG: says that WHAT failed, shows the end of LOG and where it is, and exits.
progress_fail() {
  [ -t 2 ] && [ -n "$progress_shown" ] && printf '\r\033[K' >&2
  {
    printf '%s failed. The end of its log:\n' "$1"
    tail -n 30 "$2" | sed 's/^/  /'
    printf 'Full log: %s\n' "$2"
  } >&2
  exit 1
}

# build_quietly DIR TARGET CMAKE-ARGUMENTS...: configures DIR and builds TARGET there, showing
# the build's percentage; the output of both goes to DIR/build.log.
build_quietly() {
  local dir=$1 target=$2
  shift 2
  local log=$dir/build.log
  mkdir -p "$dir"
  progress_shown=""
  progress_start=$SECONDS
  [ -f "$dir/CMakeCache.txt" ] || progress_show "Configuring $dir"
  cmake -S . -B "$dir" "$@" >"$log" 2>&1 || progress_fail "Configuring $dir" "$log"
  local status=0 line
  cmake --build "$dir" --target "$target" -j"$(nproc)" 2>&1 | while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    if [[ $line =~ ^\[\ *([0-9]+)%\]\ (Building|Linking) ]]; then
      progress_show "Building $dir: ${BASH_REMATCH[1]}%"
    fi
  done || status=$?
  [ "$status" -eq 0 ] || progress_fail "Building $dir" "$log"
  progress_end "Built $dir"
}
