#!/bin/sh
# Starts Brinegrab in its data directory, where it finds its files.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/games/brinegrab" || exit 1
exec ./brinegrab "$@"
