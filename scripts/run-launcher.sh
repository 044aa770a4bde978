#!/usr/bin/env bash
# Installs what is missing, builds the launcher and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DTERVIX_BUILD_TESTS=OFF
cmake --build "$top/build" --parallel "$(nproc)" --target tervix-launcher tervix_resources
exec "$top/build/tervix-launcher"
