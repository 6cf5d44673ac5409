#!/usr/bin/env bash
# Lays out the C++ sources as .clang-format says; `scripts/format.sh --check` changes nothing
# and fails, naming the lines, where the layout differs (test.sh runs it so).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-format
# Other major versions break some lines differently; the tree keeps version 14's layout.
version=$(clang-format --version | grep -oE '[0-9]+' | head -n 1)
if [ "$version" != 14 ]; then
  echo "clang-format $version: the layout is version 14's, so it is not checked here" >&2
  exit 0
fi
mapfile -t files < <(find app assets bench console game sound tests web -name node_modules -prune -o \
  -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) -print | sort)
if [ "${1:-}" = --check ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
