#!/usr/bin/env bash
# scripts/wine-bits.sh, which picks the Windows build the Wine suites run on,
# with stand-ins for the 32-bit probe: one that runs, one the kernel can't
# run (an ELF file for another processor), one that never ends.
#   wine_bits_test.sh <scripts folder>
set -uo pipefail
script="$1/wine-bits.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/addbar-wine-bits.XXXXXX") || exit 1
trap 'rm -rf -- "$work"' EXIT

printf '#!/bin/sh\necho "Wine 0"\n' >"$work/runs"
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\050\000' >"$work/foreign"
printf '#!/bin/sh\nexec sleep 600\n' >"$work/hangs"
chmod +x "$work/runs" "$work/foreign" "$work/hangs"

failures=0
# probe, forced bits, expected output, expected status
while read -r probe forced expected status; do
  [ "$forced" = - ] && forced=
  [ "$expected" = - ] && expected=
  output=$(ADDBAR_WINE32_PROBE="$work/$probe" ADDBAR_WINE32_PROBE_SECONDS=1 \
    ADDBAR_WINE_BITS="$forced" "$script" 2>"$work/said")
  got=$?
  if [ "$output" != "$expected" ] || [ "$got" != "$status" ] || [ "$(wc -l <"$work/said")" != 1 ]; then
    echo "FAIL: probe $probe, ADDBAR_WINE_BITS='$forced': printed '$output', status $got," \
      "expected '$expected', status $status; said: $(cat "$work/said")"
    failures=$((failures + 1))
  fi
done <<'TABLE'
runs    -  32 0
foreign -  64 0
hangs   -  64 0
runs    64 64 0
foreign 64 64 0
runs    32 32 0
foreign 32 -  1
TABLE
exit $((failures > 0))
