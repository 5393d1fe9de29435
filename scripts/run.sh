#!/usr/bin/env bash
# Sets everything up and starts the program on the default database beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
exec build/bin/qmrs26 "$@"
