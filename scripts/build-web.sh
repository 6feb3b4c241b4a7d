#!/usr/bin/env bash
# Builds the browser edition: installs what is missing, then makes build/web/ (the page, its script and
# style, quorvex.js and quorvex.wasm, the icon and the fonts) and build/web/quorvex-1.00-web.zip, the
# same files ready for any static host.
#
#   ./scripts/build-web.sh
# Then play it here: python3 -m http.server --directory build/web 8000, and open http://localhost:8000/
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset web >/dev/null
cmake --build --preset web --target quorvex_site -j "$(nproc)"
echo "== the browser edition is in $root/build/web ($(cd build/web && ls quorvex-*-web.zip))"
echo "   play it here: python3 -m http.server --directory build/web 8000, then open http://localhost:8000/"
