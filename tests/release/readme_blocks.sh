#!/usr/bin/env bash
# The deployment guide shows each wrapper of deploy/ in a code block, right
# after a line "<!-- deploy/NAME -->". Fails when a block and its file differ
# (line endings aside), when a file has no block, or when a .cmd or .ps1 file
# is not CRLF throughout, which Windows tools expect.
#   readme_blocks.sh SOURCE_DIR
set -euo pipefail
cd "$1"
status=0
fail() { echo "FAIL: $*"; status=1; }

# The block after the marker of deploy/$1, without its fences.
block() {
    awk -v marker="<!-- deploy/$1 -->" '
        in_block && /^```/ { exit }
        in_block { print }
        fence { if (!/^```/) exit; in_block = 1; fence = 0 }
        $0 == marker { fence = 1; found++ }
    ' README.md
}

shopt -s nullglob
files=(deploy/*)
[ ${#files[@]} -gt 0 ] || fail "deploy/ holds no file"
for f in "${files[@]}"; do
    name=${f#deploy/}
    n=$(grep -cxF "<!-- deploy/$name -->" README.md || true)
    [ "$n" -eq 1 ] || { fail "README.md shows $f $n times (once expected)"; continue; }
    if ! out=$(diff -u --label "README.md ($name)" --label "$f" <(block "$name") <(tr -d '\r' <"$f")); then
        fail "the README's block and $f differ:"
        echo "$out"
    fi
    case $name in
        *.cmd | *.ps1)
            # Every line ends in CR LF, the last one included.
            if [ -n "$(tail -c 1 "$f")" ] || grep -q $'[^\r]$\|^$' "$f"; then
                fail "$f is not CRLF throughout (see .gitattributes)"
            fi
            ;;
    esac
done
while read -r name; do
    [ -e "deploy/$name" ] || fail "README.md shows deploy/$name, which does not exist"
done < <(sed -n 's/^<!-- deploy\/\(.*\) -->$/\1/p' README.md)
[ $status -eq 0 ] && echo "${#files[@]} deployment scripts: each as the README shows it, CRLF"
exit $status
