#!/bin/sh
# Installs what is missing, builds, and starts the Marvolt window.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
exec build/ui/Marvolt
