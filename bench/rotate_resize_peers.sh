#!/usr/bin/env bash
# Times the lossless rotation and the quick resize of a folder of 12-megapixel
# JPEGs against the usual tools for the same job.
#
#   bench/rotate_resize_peers.sh [PHOTOS] [RUNS]      (defaults: 50 photos, 3 runs)
#
# Rotation: `vistrel rotate 90` (each photo replaced in place: written beside
# it, synced and renamed over it) against jpegtran run once per photo, as a
# script would. Resize: `vistrel resize --size 800` against vipsthumbnail at
# the same size and quality. BUILD names the build folder (default: build),
# with the target vistrel built. The corpus is the gallery benchmark's, made
# once in $CORPUS (default: /tmp/vistrel-bench-corpus-N).
set -euo pipefail

count=${1:-50}
runs=${2:-3}
source "$(dirname "$0")/peers_lib.sh"

[[ -x $vistrel ]] || { echo "missing $vistrel: build the target vistrel" >&2; exit 2; }
command -v jpegtran >/dev/null || { echo "needs jpegtran (libjpeg-turbo-progs)" >&2; exit 2; }
make_corpus

vhome=$work/home
mkdir -p "$vhome/config"
vistrel="VISTREL_HOME=$vhome VISTREL_CONFIG_DIR=$vhome/config $vistrel"
# Every rotation starts from fresh copies of the photos (not timed).
fresh="rm -rf in && mkdir in && cp $(photos | tr '\n' ' ') in/"

add "vistrel rotate 90 --jobs 2" "$vistrel rotate 90 --jobs 2 in/*.jpg" "$fresh"
add "vistrel rotate 90 --jobs 1" "$vistrel rotate 90 --jobs 1 in/*.jpg" "$fresh"
add "jpegtran -rotate 90 -copy all (one per photo)" \
  "for f in in/*.jpg; do jpegtran -rotate 90 -copy all -outfile out/\${f#in/} \$f; done" "$fresh"
run_and_report "vistrel rotate 90 --jobs 2"
echo

order=()
add "vistrel resize --size 800 --jobs 2" "$vistrel resize --size 800 --jobs 2 --out out $(photos | tr '\n' ' ')"
add "vistrel resize --size 800 --jobs 1" "$vistrel resize --size 800 --jobs 1 --out out $(photos | tr '\n' ' ')"
if command -v vipsthumbnail >/dev/null; then
  vt() { echo "vipsthumbnail -s 800 -o \$PWD/out/%s.jpg[Q=80] $1"; }
  add "vipsthumbnail --size 800 (2 in parallel)" \
    "( $(vt "$(half 0 | tr '\n' ' ')") ) & ( $(vt "$(half 1 | tr '\n' ' ')") ) & wait"
  add "vipsthumbnail --size 800 (1 process)" "$(vt "$(photos | tr '\n' ' ')")"
fi
run_and_report "vistrel resize --size 800 --jobs 2"
