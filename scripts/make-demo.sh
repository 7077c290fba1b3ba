#!/usr/bin/env bash
# Fills BUILD/demo with the generated demo content when it is missing or older
# than the generator that makes it.
set -euo pipefail
build="${1:-build}"
gen="$build/quillowbee-make-demo"
stamp="$build/demo/.complete"
if [ ! -f "$stamp" ] || [ "$gen" -nt "$stamp" ]; then
  rm -rf "$build/demo"
  "$gen" "$build/demo"
  touch "$stamp"
fi
