#!/usr/bin/env bash
# Plants the faults of tests/faults/planted-faults.txt one at a time, rebuilds the tests, runs them and
# puts the code back: shows which faults the suite catches. Usage: tests/faults/planted-faults.sh [PATTERN]
# (only the faults whose number, file or description matches PATTERN). A fault whose text is no
# longer in its file shows as "stale"; one that breaks the build as "nobuild".
set -uo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh cmake make g++ pkg-config libgtest-dev libsdl2-dev libfluidsynth-dev \
  timgm6mb-soundfont libvterm-dev perl >/dev/null
list=tests/faults/planted-faults.txt
build=build/faults
targets=(game_tests console_tests terminal_tests sound_tests music_tests)

build_tests() {  # targets...
  local native=() target
  for target; do [[ $target == web_* ]] || native+=("$target"); done
  if [ ${#native[@]} -lt $# ]; then
    { scripts/install-deps.sh chromium && ./web.sh --build-only; } </dev/null >"$build/fault-build.log" 2>&1 || return
  fi
  [ ${#native[@]} -eq 0 ] && return
  local dir=$build
  [[ ${native[0]} == windows_* ]] && windows_ready && dir=$windows_dir
  cmake --build "$dir" -j2 --target "${native[@]}" </dev/null >>"$build/fault-build.log" 2>&1
}

# The Windows code is seen only by the Windows tests, cross-built in the build directory of
# tests/windows/windows-check.sh (made ready on the first Windows fault) and run under wine in a console.
windows_dir=build/windows
windows_ready() {
  [ -n "${wave_home:-}" ] && return
  scripts/install-deps.sh cmake make g++-mingw-w64-x86-64 wine64 googletest tmux >/dev/null
  [ -f "$windows_dir/CMakeCache.txt" ] ||
    cmake -S . -B "$windows_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
  source tests/windows/wine-console.sh
  wine_start "$windows_dir"
}

# The test executables that can see a fault in `file`: game code is only reached through the game
# tests, the terminal only through its own, the sound layer only through the sound tests, the
# browser page only through its check in Chromium, its SoundFont through its renders and
# the MIDI reading it shares with the game.
relevant_tests() {  # file
  case $1 in
    game/*) echo game_tests ;;
    console/posix/*) echo terminal_tests ;;
    console/web/web_backend.cpp) echo web_check ;;
    console/web/*) echo console_tests ;;
    tests/support/*) echo console_tests game_tests ;;
    console/windows/*) echo windows_console_tests ;;
    sound/winmm/* | sound/resources/windows_*) echo windows_sound_tests ;;
    sound/*) echo sound_tests music_tests ;;
    web/make_soundfont.py) echo music_tests web_check_soundfont ;;
    web/layout.js) echo web_check_phone ;;
    web/*) echo web_check ;;
    *) echo "${targets[@]}" ;;
  esac
}

# Runs one test executable and prints its output; a Windows one under wine, in a console; a
# browser check (tests/web/web-check*.mjs, .sh) on the page in build/web.
run_one() {  # path
  [[ $1 == *.mjs ]] && { timeout 600 node "$1" build/web </dev/null 2>&1; return; }
  [[ $1 == *.sh ]] && { timeout 600 "$1" build/web </dev/null 2>&1; return; }
  [[ $1 == *.exe ]] || { timeout 120 "$1" --gtest_brief=1 </dev/null 2>&1; return; }
  local log=$PWD/$windows_dir/fault-test.log status=0
  wine_console "$log" 120 "cd '${1%/*}' && HOME='$wave_home' '$wine' ./'${1##*/}' --gtest_brief=1" || status=$?
  cat "$log"
  return $status
}

# Runs the executables in turn and names the first that fails, with its failing tests; with
# FAULTS_ALL=1 it runs them all and names every failing test.
run_tests() {  # executables...
  local exe path failed found=1
  for exe in "$@"; do
    case $exe in
      web_*) path=$(ls "tests/web/${exe//_/-}".{mjs,sh} 2>/dev/null | head -n 1) ;;
      windows_*) path=$(find "$windows_dir/tests" -maxdepth 2 -type f -name "$exe.exe" | head -n 1) ;;
      *) path=$(find "$build/tests" -maxdepth 2 -type f -name "$exe" | head -n 1) ;;
    esac
    [ -n "$path" ] || continue
    if ! failed=$(run_one "$path"); then
      echo -n "$exe:$(grep -oE '^(\[  FAILED  \] [^ ,(]+|FAIL [^(]+)' <<<"$failed" | sed 's/.*\] \|^FAIL / /' | sort -u | tr -d '\n') "
      found=0
      [ -n "${FAULTS_ALL:-}" ] || return 0
    fi
  done
  return $found
}

# The tests that judge a fault must first pass on the unchanged code; each set is checked once.
checked=" "
check_unchanged() {  # executables...
  [[ $checked == *" $* "* ]] && return
  build_tests "$@" || { echo "the unchanged code does not build; see $build/fault-build.log"; exit 1; }
  if by=$(run_tests "$@"); then echo "the unchanged code fails $by"; exit 1; fi
  checked+="$* "
}

# Without debug information: every fault relinks the test executables.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DDOMRAK_SANITIZE=OFF >/dev/null

saved=$(mktemp)
restore() { [ -n "${file:-}" ] && cp "$saved" "$file" && touch "$file"; file=; }
trap 'restore; rm -f "$saved"; exit 130' INT TERM
caught=0 missed=0 number=0
tab=$'\t'
while IFS= read -r line; do
  case $line in '#'* | '') continue ;; esac
  path=${line%%"$tab"*} rest=${line#*"$tab"}
  text=${rest%%"$tab"*} rest=${rest#*"$tab"}
  replacement=${rest%%"$tab"*} what=${rest#*"$tab"}
  number=$((number + 1))
  [ -n "${1:-}" ] && ! grep -qE -- "$1" <<<"$number $path $what" && continue
  read -ra tests <<<"$(relevant_tests "$path")"
  check_unchanged "${tests[@]}"
  file=$path
  cp "$file" "$saved"
  if ! FROM=$text TO=$replacement perl -e '
       my ($f, $t) = map { s/\\n/\n/gr } @ENV{qw(FROM TO)};
       local $/; open my $in, "<", $ARGV[0] or exit 3; my $s = <$in>; close $in;
       my $n = index($s, $f); exit 3 if $n < 0; substr($s, $n, length $f) = $t;
       open my $out, ">", $ARGV[0] or exit 3; print $out $s;' "$file"; then
    file=
    printf '%3d %-7s %s\n' "$number" stale "$what"
    continue
  fi
  if ! build_tests "${tests[@]}"; then
    result=nobuild detail=
  elif by=$(run_tests "${tests[@]}"); then
    result=caught detail=$by
  else
    result=MISSED detail=
  fi
  restore
  case $result in caught) caught=$((caught + 1)) ;; MISSED) missed=$((missed + 1)) ;; esac
  printf '%3d %-7s %s  [%s]\n' "$number" "$result" "$what" "$detail"
done <"$list"
rm -f "$saved"
echo "caught $caught, missed $missed"
