#!/usr/bin/env bash
# Installs the built game into a temporary prefix and checks what players,
# desktops and distributions read from it: every game file beside the
# executable, the launcher and its command line, the desktop entry, the
# AppStream metainfo, the icons and the man page (each validator must be
# silent about errors and warnings).
# Usage: tests/install_check.sh BUILD_DIR APP_ID VERSION
set -uo pipefail
build=$1 id=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
data=$prefix/share/games/brinegrab

# Every file of the game directory is installed, and no record file.
(cd "$build/game" && find . -type f ! -name records.dat ! -name assets.stamp) | while read -r f; do
  [ -f "$data/$f" ] || echo "FAIL: not installed: share/games/brinegrab/${f#./}"
done | grep . && failures=$((failures + 1))
[ -x "$data/brinegrab" ] || fail "the executable is not in share/games/brinegrab"
[ -z "$(find "$prefix" -name records.dat)" ] || fail "a records.dat is installed"
for f in games/brinegrab share/games/brinegrab/FONTS-OFL.txt share/doc/brinegrab/LICENSE \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/man/man6/brinegrab.6; do
  [ -s "$prefix/$f" ] || fail "missing: $f"
done
for size in 32 64 128 256; do
  f=share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -s "$prefix/$f" ] || fail "missing: $f"
done

# The launcher starts the installed executable with the player's arguments.
out=$("$prefix/games/brinegrab" --version 2>&1) status=$?
[ "$status" = 0 ] && [ "$out" = "brinegrab $version" ] || fail "--version: status $status, '$out'"
out=$("$prefix/games/brinegrab" --help 2>/dev/null) status=$?
[ "$status" = 0 ] && [[ "$out" == Usage:*records.dat*SDL12COMPAT_SCALE_METHOD* ]] ||
  fail "--help: status $status"
err=$("$prefix/games/brinegrab" --no-such-option 2>&1 >/dev/null) status=$?
[ "$status" = 2 ] && [[ "$err" == *"unknown option"*Usage:* ]] || fail "unknown option: status $status, '$err'"

# After --replay, "last" and "best" name the games kept, even run from a
# directory holding a file "last" and a folder "best" (none kept here yet);
# any other file is the caller's.
caller=$prefix/caller
mkdir -p "$caller/best" && echo "not a replay" >"$caller/last"
for kept in last best none.replay; do
  (cd "$caller" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    exec "$prefix/games/brinegrab" --replay "$kept" >/dev/null 2>"$kept.err") &
  pid=$!
  # The reason comes before the window, which a signal closes.
  for _ in $(seq 300); do [ -s "$caller/$kept.err" ] && break; sleep 0.1; done
  kill -TERM "$pid" 2>/dev/null
  wait "$pid"
  err=$(head -n 1 "$caller/$kept.err")
  case $kept in
    last) want="brinegrab: cannot watch 'last.replay': No such file or directory" ;;
    best) want="brinegrab: cannot watch the best game: 'best-solo.replay': No such file or directory;*" ;;
    *) want="brinegrab: cannot watch '$caller/$kept': No such file or directory" ;;
  esac
  # shellcheck disable=SC2053
  [[ $err == $want ]] || fail "--replay $kept from a directory holding $kept: '$err'"
done

# The metainfo's screenshots are the pictures of docs/screenshots.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
shots=$(grep -o '[^/]*\.png</image>' "$metainfo" | sed 's#</image>##')
[ -n "$shots" ] || fail "the metainfo names no screenshot"
for shot in $shots; do
  [ -f "$(dirname "$0")/../docs/screenshots/$shot" ] || fail "no docs/screenshots/$shot"
done

echo "== desktop-file-validate $id.desktop"
out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) status=$?
echo "${out:-(no output)}"
[ "$status" = 0 ] && [ -z "$out" ] || fail "desktop-file-validate"

echo "== appstreamcli validate --no-net $id.metainfo.xml"
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) status=$?
echo "$out"
[ "$status" = 0 ] && ! grep -q '^[EW]:' <<<"$out" || fail "appstreamcli validate"

echo "== man -l brinegrab.6 (warnings)"
out=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/brinegrab.6" 2>&1 >/dev/null) status=$?
echo "${out:-(no warnings)}"
[ "$status" = 0 ] && [ -z "$out" ] || fail "man -l"
page=$(MANWIDTH=80 man -l "$prefix/share/man/man6/brinegrab.6" 2>/dev/null)
for section in OPTIONS KEYS FILES ENVIRONMENT; do
  grep -q "^$section" <<<"$page" || fail "the man page has no $section"
done

echo "install check: $failures problem(s)"
[ "$failures" = 0 ]
