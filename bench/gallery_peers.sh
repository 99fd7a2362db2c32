#!/usr/bin/env bash
# Times a gallery run against other ways of making the same two sizes
# (150-px thumbnail, 600-px medium image) from a folder of 12-megapixel JPEGs.
#
#   bench/gallery_peers.sh [PHOTOS] [RUNS]      (defaults: 50 photos, 3 runs)
#
# BUILD names the build folder (default: build), configured with
# -DVISTREL_BUILD_BENCH=ON and built with the targets vistrel and jpeg_floor.
# The corpus is made once in $CORPUS (default: /tmp/vistrel-bench-corpus-N)
# with ImageMagick and exiftool; nothing is downloaded. Peers that are not
# installed are left out of the table.
set -euo pipefail

count=${1:-50}
runs=${2:-3}
source "$(dirname "$0")/peers_lib.sh"
floor=$build/bench/jpeg_floor

for tool in "$vistrel" "$floor"; do
  [[ -x $tool ]] || { echo "missing $tool: build vistrel and jpeg_floor with -DVISTREL_BUILD_BENCH=ON" >&2; exit 2; }
done
make_corpus

vhome=$work/home
add "vistrel gallery --jobs 2" \
  "VISTREL_HOME=$vhome VISTREL_CONFIG_DIR=$vhome/config $vistrel gallery --jobs 2 --quiet --overwrite all --target \$PWD/out $(photos | tr '\n' ' ')"
add "vistrel gallery --jobs 1" \
  "VISTREL_HOME=$vhome VISTREL_CONFIG_DIR=$vhome/config $vistrel gallery --jobs 1 --quiet --overwrite all --target \$PWD/out $(photos | tr '\n' ' ')"
add "floor (C, libjpeg-turbo, 2 threads)" "$floor out 150 600 2 \$(ls $corpus/photo_*.jpg | head -n $count)"
if command -v vipsthumbnail >/dev/null; then
  vt() { echo "vipsthumbnail -s 150 -o \$PWD/out/t_%s.jpg $1 && vipsthumbnail -s 600 -o \$PWD/out/m_%s.jpg $1"; }
  add "vipsthumbnail (1 process)" "$(vt "$(photos | tr '\n' ' ')")"
  add "vipsthumbnail (2 in parallel)" \
    "( $(vt "$(half 0 | tr '\n' ' ')") ) & ( $(vt "$(half 1 | tr '\n' ' ')") ) & wait"
fi
if command -v gm >/dev/null; then
  gmm() { echo "gm mogrify -output-directory out/t -create-directories -size 300x300 -resize 150x150 $1 && gm mogrify -output-directory out/m -create-directories -size 1200x1200 -resize 600x600 $1"; }
  add "gm mogrify -size (2 in parallel)" "( $(gmm "$(half 0 | tr '\n' ' ')") ) & ( $(gmm "$(half 1 | tr '\n' ' ')") ) & wait"
fi
if [[ -x $im ]]; then
  add "ImageMagick jpeg:size (2 in parallel)" \
    "ls $corpus/photo_*.jpg | head -n $count | xargs -P2 -I{} sh -c 'b=\$(basename {}); $im -define jpeg:size=1200x1200 {} -resize 600x600 -write out/m_\$b -resize 150x150 out/t_\$b'"
fi
# Gallery generators that, like ours, write pages as well as the two sizes.
# Not project dependencies: llgal and fgallery come from Debian (fgallery also
# wants liblcms2-utils, jpegoptim and pngcrush), thumbsup from npm (THUMBSUP
# names its program when it is not on PATH). Each reads a folder, so the
# photos are linked into one first.
linked() { echo "mkdir -p out/src && ln $(photos | tr '\n' ' ') out/src/"; }
if command -v llgal >/dev/null; then
  add "llgal (1 process)" "$(linked) && llgal -d out/src --tx 150 --ty 150 --sx 600 --sy 600"
fi
if command -v fgallery >/dev/null; then
  add "fgallery -j 2" "$(linked) && fgallery -s -d -k -j 2 --max-full 600x600 --max-thumb 150x150 out/src out/web"
fi
thumbsup=${THUMBSUP:-$(command -v thumbsup || true)}
if [[ -n $thumbsup ]]; then
  add "thumbsup --concurrency 2" "$(linked) && $thumbsup --input out/src --output out/web --thumb-size 150 \
    --large-size 600 --photo-download link --concurrency 2"
fi

mkdir -p "$vhome/config"
run_and_report "vistrel gallery --jobs 2"
