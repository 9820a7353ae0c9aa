#!/usr/bin/env bash
# Builds the release from a clean state: korvalend.exe and korvalend-plan.exe
# (the windows preset, in a fresh build folder), then
#   dist/korvalend-<version>.zip  the two programs, deploy/ and README.md,
#                                 in the folder korvalend-<version>/
#   dist/SHA256SUMS               each file of the zip, and the zip itself
# Both are the same bytes for the same commit, wherever it is built.
#
#   release.sh [--allow-dirty] [--out DIR] [--from-build DIR]
# --allow-dirty  build a working tree with uncommitted changes; the version
#                then reads <version>-dirty
# --from-build   package the executables of an existing windows build instead
#                of building afresh (the reproducibility check compares the two)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
die() { echo "release.sh: $*" >&2; exit 1; }

allow_dirty=0
out=$root/dist
build=$root/build/release
from_build=
while [ $# -gt 0 ]; do
    case $1 in
        --allow-dirty) allow_dirty=1 ;;
        --out) out=${2:?--out needs a folder}; shift ;;
        --from-build) from_build=${2:?--from-build needs a folder}; shift ;;
        *) die "unknown option $1 (release.sh [--allow-dirty] [--out DIR] [--from-build DIR])" ;;
    esac
    shift
done

# Each tool, with the Debian package that brings it (scripts/setup.sh installs them all).
for pair in git:git cmake:cmake ninja:ninja-build python3:python3 \
    x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix \
    x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64; do
    command -v "${pair%%:*}" >/dev/null ||
        die "${pair%%:*} not found: install the Debian package ${pair#*:} (bash scripts/setup.sh does)"
done

git rev-parse --is-inside-work-tree >/dev/null 2>&1 || die "$root is not a git working tree"
[ -f VERSION ] || die "no file VERSION"
version=$(head -n 1 VERSION)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "VERSION holds '$version', not MAJOR.MINOR.PATCH"

# A tag on this commit names the version it releases: v1.2.3 or 1.2.3.
while read -r tag; do
    [[ $tag =~ ^v?[0-9]+\.[0-9]+\.[0-9]+$ ]] || continue
    [ "${tag#v}" = "$version" ] || die "this commit is tagged $tag, but VERSION says $version: make them agree"
done < <(git tag --points-at HEAD)

# Untracked files count: the build globs its sources.
if [ -n "$(git status --porcelain)" ]; then
    [ $allow_dirty -eq 1 ] ||
        die "the working tree has uncommitted changes (git status): commit them, or pass --allow-dirty"
    version=$version-dirty
fi

# The wrappers shipped are the ones the README shows, with CRLF endings.
bash tests/release/readme_blocks.sh "$root" >/dev/null || {
    bash tests/release/readme_blocks.sh "$root" >&2 || true
    die "deploy/ and the README's blocks disagree"
}

if [ -n "$from_build" ]; then
    build=$(realpath "$from_build")
    echo "== korvalend $version: the executables of $build"
    for exe in korvalend.exe korvalend-plan.exe; do [ -f "$build/$exe" ] || die "no $build/$exe"; done
else
    echo "== korvalend $version: building in $build"
    rm -rf "$build"
    mkdir -p "$build"
    log=$build/release.log
    { cmake --preset windows -B "$build" -DBUILD_TESTING=OFF &&
        cmake --build "$build" -j "$(nproc)" --target korvalend korvalend-plan; } >"$log" 2>&1 ||
        { tail -n 40 "$log" >&2; die "the build failed (the whole log: $log)"; }
fi

# Every entry carries the commit's time, so the zip depends on the commit only.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
name=korvalend-$version
mkdir -p "$out"
rm -f "$out"/korvalend-*.zip "$out/SHA256SUMS"
files=("$build/korvalend.exe:korvalend.exe" "$build/korvalend-plan.exe:korvalend-plan.exe" README.md:README.md)
for f in deploy/*; do files+=("$f:$f"); done
python3 - "$out" "$name" "$epoch" "${files[@]}" <<'EOF'
import hashlib, os, sys, time, zipfile
out, name, epoch, pairs = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
# A zip cannot date anything before 1980.
stamp = time.gmtime(max(epoch, 315532800))[:6]
sums = []
zip_path = os.path.join(out, name + ".zip")
with zipfile.ZipFile(zip_path, "w") as z:
    for source, member in sorted((p.rsplit(":", 1) for p in pairs), key=lambda p: p[1]):
        data = open(source, "rb").read()
        info = zipfile.ZipInfo(name + "/" + member, date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0  # MS-DOS attributes, none set: nothing of the build machine
        info.external_attr = 0
        z.writestr(info, data, compresslevel=9)
        sums.append((hashlib.sha256(data).hexdigest(), info.filename))
sums.append((hashlib.sha256(open(zip_path, "rb").read()).hexdigest(), name + ".zip"))
with open(os.path.join(out, "SHA256SUMS"), "w", newline="\n") as f:
    f.writelines("%s  %s\n" % s for s in sums)
EOF
echo "== $out/$name.zip"
cat "$out/SHA256SUMS"
