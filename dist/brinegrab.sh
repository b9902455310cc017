#!/bin/sh
# Starts Brinegrab in its data directory, where it finds its files.
here=$(dirname "$(readlink -f "$0")")
# The replay file named relative to the caller's directory is passed by its
# absolute path, so that it still resolves in the data directory; "last" and
# "best" name the games the game keeps, whatever the caller's directory holds.
after_replay=false
for arg do
  if $after_replay; then
    case $arg in
      last | best | /* | '') ;;
      *) arg="$PWD/$arg" ;;
    esac
    after_replay=false
  elif [ "$arg" = --replay ]; then
    after_replay=true
  fi
  set -- "$@" "$arg"
  shift
done
cd "$here/../share/games/brinegrab" || exit 1
exec ./brinegrab "$@"
