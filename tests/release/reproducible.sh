#!/usr/bin/env bash
# The release is reproducible: scripts/release.sh run in a copy of this working
# tree in another folder (a fresh build there) and the release of this tree's
# own windows build REFERENCE_BUILD list the same SHA256SUMS, so the two
# executables, the wrappers, the README and the zip are the same bytes; and the
# zip holds what its SHA256SUMS lists.
#   reproducible.sh REFERENCE_BUILD
set -euo pipefail
cd "$(dirname "$0")/../.."
ref=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
release() { # release LOG ARGS...
    local log=$1
    shift
    bash "$@" --allow-dirty >"$log" 2>&1 || { cat "$log"; echo "FAIL: $*"; exit 1; }
}

# A clone of the commit, with the working tree's changes laid over it, so that
# a tree with uncommitted edits is held to its own release (marked -dirty).
src=$tmp/src
git clone -q --local --no-checkout . "$src"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
git -C "$src" reset -q "$(git rev-parse HEAD)"

release "$tmp/copy.log" "$src/scripts/release.sh" --out "$tmp/copy"
release "$tmp/here.log" scripts/release.sh --from-build "$ref" --out "$tmp/here"
status=0
if diff -u --label "$src/build/release" --label "$ref" "$tmp/copy/SHA256SUMS" "$tmp/here/SHA256SUMS"; then
    grep -E '\.(exe|zip)$' "$tmp/copy/SHA256SUMS" | sed 's/^/ok, both builds: /'
else
    echo "FAIL: the two releases differ (above)"
    status=1
fi
cd "$tmp/copy"
python3 -m zipfile -e korvalend-*.zip .
if sha256sum -c --quiet SHA256SUMS; then
    echo "ok: the zip holds what SHA256SUMS lists"
else
    echo "FAIL: the zip and SHA256SUMS disagree"
    status=1
fi
exit $status
