#!/usr/bin/env bash
# Fills BUILD/demo with the generated demo content when it is missing or older than the
# generator that makes it (the build's "demo" target, which every build runs).
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target demo
