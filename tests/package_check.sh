#!/usr/bin/env bash
# Packs the built game as a .deb, checks that it depends on the runtime
# libraries and not on -dev packages, unpacks it into a temporary root and
# starts the game from there headless: it must still be running a second
# later, and end with status 0 on SIGTERM.
# Usage: tests/package_check.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Packs what the build made, installed by its own install rules as CPack
# would, but without CPack's first step, which builds every target again
# (beside the other tests, it would rebuild the test program under them).
cpack -G DEB --config "$build/CPackConfig.cmake" -D CPACK_INSTALL_CMAKE_PROJECTS= \
  -D "CPACK_INSTALL_COMMANDS=cmake --install $build --prefix /usr --strip" -B "$work/out" \
  >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
echo "Depends: $depends"
for lib in 'libsdl1.2debian|libsdl1.2-compat-shim' libsdl-image1.2 libsdl-mixer1.2 libsdl-ttf2.0-0; do
  grep -Eq "(^|[ ,|])($lib)( |,|$)" <<<"$depends" || fail "does not depend on $lib"
done
grep -q -- '-dev' <<<"$depends" && fail "depends on a -dev package"

root=$work/root
dpkg-deb -x "$deb" "$root"
[ -z "$(find "$root" -name records.dat)" ] || fail "the package holds a records.dat"
[ -x "$root/usr/games/brinegrab" ] || fail "no launcher usr/games/brinegrab"

# Headless, with the records kept in the temporary home.
HOME=$work XDG_DATA_HOME=$work/data SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  "$root/usr/games/brinegrab" >"$work/game.log" 2>&1 &
game=$!
sleep 1
if kill -0 "$game" 2>/dev/null; then
  # SIGTERM ends the game from any screen, with status 0.
  kill -TERM "$game"
  for _ in $(seq 20); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then
    kill -KILL "$game"
    fail "the game was still running 2 s after SIGTERM"
  fi
  wait "$game"
  status=$?
  [ "$status" = 0 ] || fail "the game ended with status $status after SIGTERM"
else
  wait "$game"
  fail "the game ended within a second, status $?: $(cat "$work/game.log")"
fi
[ -s "$work/game.log" ] && { echo "game output:"; cat "$work/game.log"; }

echo "package check: $failures problem(s)"
[ "$failures" = 0 ]
