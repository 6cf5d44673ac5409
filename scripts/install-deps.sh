#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing (through sudo when not root),
# showing apt's progress on one line; apt's own output goes to build/install.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/progress.sh"

missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
log=$root/build/install.log
mkdir -p "$root/build"
: >"$log"
echo "Installing ${missing[*]}" >&2
[ -z "$sudo" ] || sudo -v  # any password prompt before the status line
progress_show "Updating the package lists"
$sudo apt-get update -q -o DPkg::Lock::Timeout=600 >>"$log" 2>&1 || progress_fail "Updating the package lists" "$log"

# apt reports its progress on descriptor 3 as "dlstatus:…:PERCENT:TEXT" while downloading and
# "pmstatus:PACKAGE:PERCENT:TEXT" while unpacking and setting up. Another apt run holding the
# package lock is waited for rather than failed on.
progress_show "Working out what they need"
status=0
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  -o APT::Status-Fd=3 -o DPkg::Lock::Timeout=600 "${missing[@]}" 3>&1 >>"$log" 2>&1 |
  while IFS=: read -r kind _ percent text; do
    case $kind in
      dlstatus) progress_show "Downloading: ${percent%%.*}%" ;;
      pmstatus) progress_show "Installing: ${percent%%.*}% ($text)" ;;
    esac
  done || status=$?
[ "$status" -eq 0 ] || progress_fail "Installing ${missing[*]}" "$log"
progress_end "Installed"
