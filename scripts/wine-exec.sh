#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build tree's private prefix
# (the cross build's emulator for ctest).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
vp_wine_env
export WINEPREFIX=${VP_WINEPREFIX:-$VP_WIN_BUILD/wineprefix}
vp_ensure_prefix "$WINEPREFIX"
if [ -z "${VP_TEST_HOME:-}" ]; then
    VP_TEST_HOME=$(mktemp -d)
    trap 'rm -rf "$VP_TEST_HOME"' EXIT
fi
HOME=$VP_TEST_HOME "$WINE" "$@"
