#!/usr/bin/env bash
# The browser suite against a built site: run.sh SITE_DIR. Exits 77 (skipped) without node or
# Debian's chromium; the suite drives the browser over its own DevTools pipe (cdp.mjs).
set -eu -o pipefail
[ $# -eq 1 ] || { echo "usage: $0 SITE_DIR" >&2; exit 2; }
for tool in node /usr/bin/chromium; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian's nodejs and chromium)"; exit 77; }
done
SITE=$(realpath "$1") HERE=$(dirname "$(realpath "$0")")
cd "$HERE"
PUFFPOP_SITE=$SITE node --test
