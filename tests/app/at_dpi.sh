#!/usr/bin/env bash
# at_dpi.sh WINE_RUN DPI PROGRAM [ARGS...]
# Runs a test program with the Wine prefix's display scale at DPI (read by a
# process when it starts), then puts the default back.
set -uo pipefail
wine_run=$1 dpi=$2
shift 2
desktop='HKCU\Control Panel\Desktop'
"$wine_run" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
TAVRIN_EXPECT_DPI=$dpi "$wine_run" "$@"
status=$?
"$wine_run" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
exit $status
