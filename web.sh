#!/usr/bin/env bash
# Builds DOMRAK for the browser into build/web/ (installing what the build needs) and serves
# it on http://127.0.0.1:8080/. `./web.sh --build-only` builds and stops there.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh cmake make emscripten python3-fonttools fonts-noto-cjk timgm6mb-soundfont
# npm comes with Debian's own npm package or inside another node's package.
command -v npm >/dev/null || scripts/install-deps.sh npm
# Debian's emscripten finds its own JavaScript modules there, also under another node.
export NODE_PATH=/usr/share/nodejs
(cd web && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
cmake -S . -B build/web-cmake -DCMAKE_BUILD_TYPE=MinSizeRel -DDOMRAK_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
  -DDOMRAK_WEB_DIR="$PWD/build/web" >/dev/null
cmake --build build/web-cmake -j"$(nproc)" --target domrak web_page web_offline >/dev/null
[ "${1:-}" = "--build-only" ] && exit 0
exec node web/serve.mjs build/web 8080
