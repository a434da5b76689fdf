#!/bin/sh
# The dynamic symbols that libvomtel.so defines must be exactly the names of the exports
# manifest. Usage: check_exports.sh LIBRARY MANIFEST
set -eu
lib=$1
manifest=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
nm -D --defined-only "$lib" | awk '{print $NF}' | sort > "$tmp/exported"
grep -v '^#' "$manifest" | tail -n +2 | cut -f1 | sort > "$tmp/manifest"
if ! diff -u "$tmp/manifest" "$tmp/exported"; then
  echo "libvomtel.so exports differ from the manifest (- manifest, + library)" >&2
  exit 1
fi
test "$(wc -l < "$tmp/manifest")" -eq 132 || { echo "the manifest must list 132 names" >&2; exit 1; }
test "$(cut -f5 "$manifest" | grep -v '^#' | tail -n +2 | sort -u | wc -l)" -eq 111 ||
  { echo "the manifest must name 111 entry points" >&2; exit 1; }
echo "libvomtel.so exports the 132 names of the manifest"
