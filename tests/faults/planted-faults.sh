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

# The tests that can see a fault in `file`: game code is only reached through the game tests, the
# terminal only through its own, the sound layer only through the sound tests, the browser page
# only through its checks in Chromium (tests/web/), its SoundFont through its renders and the MIDI
# reading it shares with the game.
relevant_tests() {  # file
  case $1 in
    game/*) echo game_tests ;;
    console/posix/*) echo terminal_tests ;;
    console/web/web_backend.cpp) echo web-check.mjs ;;
    console/web/*) echo console_tests ;;
    tests/support/*) echo console_tests game_tests ;;
    console/windows/*) echo windows_console_tests ;;
    sound/winmm/* | sound/resources/windows_*) echo windows_sound_tests ;;
    sound/*) echo sound_tests music_tests ;;
    web/make_soundfont.py) echo music_tests web-check-soundfont.sh ;;
    web/layout.js) echo web-check-phone.mjs ;;
    web/*) echo web-check.mjs ;;
    *) echo game_tests console_tests terminal_tests sound_tests music_tests ;;
  esac
}

# Builds the tests: a browser check's page into build/web, a Windows test in its own build.
build_tests() {  # tests...
  local test web=
  : >"$build/fault-build.log"
  for test; do
    case $test in
      *.*) [ -n "$web" ] || { web=1 && scripts/install-deps.sh chromium && ./web.sh --build-only; } ;;
      windows_*) windows_ready && cmake --build "$windows_dir" -j2 --target "$test" ;;
      *) cmake --build "$build" -j2 --target "$test" ;;
    esac </dev/null >>"$build/fault-build.log" 2>&1 || return
  done
}

# Runs one test and prints its output: a Windows one under wine, in a console.
run_one() {  # test
  case $1 in
    *.mjs) timeout 600 node "tests/web/$1" build/web ;;
    *.sh) timeout 600 "tests/web/$1" build/web ;;
    windows_*)
      local exe=("$windows_dir"/tests/*/"$1.exe")
      wine_console "$PWD/$windows_dir/fault-test.log" 120 \
        "cd '${exe%/*}' && HOME='$wave_home' '$wine' ./'$1.exe' --gtest_brief=1" ;;
    *) timeout 120 "$build"/tests/*/"$1" --gtest_brief=1 ;;
  esac
}

# Runs the tests in turn and names the first that fails, with its failing tests; with
# FAULTS_ALL=1 it runs them all and names every failing test.
run_tests() {  # tests...
  local test failed found=1
  for test; do
    if ! failed=$(run_one "$test" </dev/null 2>&1); then
      echo -n "$test:$(grep -oE '^(\[  FAILED  \] [^ ,(]+|FAIL [^(]+)' <<<"$failed" |
        sed 's/.*\] \|^FAIL / /' | sort -u | tr -d '\n') "
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
while IFS= read -r line; do
  case $line in '#'* | '') continue ;; esac
  path=${line%%$'\t'*} what=${line##*$'\t'} by=
  number=$((number + 1))
  [ -n "${1:-}" ] && ! grep -qE -- "$1" <<<"$number $path $what" && continue
  read -ra tests <<<"$(relevant_tests "$path")"
  check_unchanged "${tests[@]}"
  file=$path
  cp "$file" "$saved"
  if ! FAULT=$line perl -e '
       my (undef, $f, $t) = map { s/\\n/\n/gr } split /\t/, $ENV{FAULT}, -1;
       local $/; open my $in, "<", $ARGV[0] or exit 3; my $s = <$in>; close $in;
       my $n = index($s, $f); exit 3 if $n < 0; substr($s, $n, length $f) = $t;
       open my $out, ">", $ARGV[0] or exit 3; print $out $s;' "$file"; then
    result=stale
  elif ! build_tests "${tests[@]}"; then
    result=nobuild
  elif by=$(run_tests "${tests[@]}"); then
    result=caught caught=$((caught + 1))
  else
    result=MISSED missed=$((missed + 1))
  fi
  restore
  printf '%3d %-7s %s%s\n' "$number" "$result" "$what" "${by:+  [$by]}"
done <"$list"
rm -f "$saved"
echo "caught $caught, missed $missed"
