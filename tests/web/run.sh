#!/usr/bin/env bash
# The browser suite against a built site: run.sh SITE_DIR. Exits 77 (skipped) without node or
# Debian's chromium. puppeteer-core comes from the lock file, fetched again only when it changed.
set -eu -o pipefail
[ $# -eq 1 ] || { echo "usage: $0 SITE_DIR" >&2; exit 2; }
for tool in node npm /usr/bin/chromium; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian's nodejs, npm and chromium)"; exit 77; }
done
SITE=$(realpath "$1") HERE=$(dirname "$(realpath "$0")")
cd "$HERE"
[ -e node_modules/.package-lock.json ] && [ ! package-lock.json -nt node_modules/.package-lock.json ] || npm ci --prefer-offline --no-audit --no-fund
PUFFPOP_SITE=$SITE node --test
