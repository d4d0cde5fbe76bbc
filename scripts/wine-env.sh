# shellcheck shell=bash
# Sourced, not run, by the scripts that start Windows programs under Wine
# (scripts/wine-run.sh, scripts/test-windows-console.sh): where Wine is and
# the quiet environment they run it in, kept in one place so both find the
# same Wine and set it up alike.

# Sets `wine` to the first installed 64-bit loader and `wineserver` to the
# first installed server, or leaves either empty when there is none. Debian
# keeps the 64-bit loader off PATH, so its own folder comes first. Further
# loader names to try last may be given as arguments.
# shellcheck disable=SC2034  # wine and wineserver are for the caller
find_wine() {
  local candidate
  wine=""
  for candidate in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null || true)" "$@"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      wine="$candidate"
      break
    fi
  done
  wineserver=""
  for candidate in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver \
                   "$(command -v wineserver 2>/dev/null || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      wineserver="$candidate"
      break
    fi
  done
}

# Exports what every run under Wine wants: no debug chatter on the program's
# output, and no Mono or Gecko (nothing here needs them, and asking for them
# would stall the prefix set-up).
export_wine_quiet() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}
