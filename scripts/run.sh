#!/usr/bin/env bash
# The main job: a resolver lookup of localhost through vek-cli.
set -eu
cd "$(dirname "$0")/.."
exec build/native/vek-cli "${@:-localhost}"
