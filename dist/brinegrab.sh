#!/bin/sh
# Starts Brinegrab in its data directory, where it finds its files.
here=$(dirname "$(readlink -f "$0")")
# A file named relative to the caller's directory is passed by its absolute
# path, so that it still resolves in the data directory.
for arg do
  case $arg in
    -* | /*) ;;
    *) [ -e "$arg" ] && arg="$PWD/$arg" ;;
  esac
  set -- "$@" "$arg"
  shift
done
cd "$here/../share/games/brinegrab" || exit 1
exec ./brinegrab "$@"
