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
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${BUILD:-$here/../build}" && pwd)
vistrel=$build/vistrel
floor=$build/bench/jpeg_floor
corpus=${CORPUS:-/tmp/vistrel-bench-corpus-$count}
im=${IM_CONVERT:-/usr/bin/convert}
work=$(mktemp -d /tmp/vistrel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

for tool in "$vistrel" "$floor"; do
  [[ -x $tool ]] || { echo "missing $tool: build vistrel and jpeg_floor with -DVISTREL_BUILD_BENCH=ON" >&2; exit 2; }
done
[[ -x /usr/bin/time ]] || { echo "needs GNU time at /usr/bin/time" >&2; exit 2; }

make_corpus() {
  mkdir -p "$corpus"
  for ((i = 1; i <= count; ++i)); do
    local photo
    photo=$(printf '%s/photo_%03d.jpg' "$corpus" "$i")
    [[ -s $photo ]] && continue
    # Plasma gives the smooth shapes of a scene, the noise the grain of a
    # sensor; both are needed for a photo's entropy-decoding cost.
    "$im" -seed "$i" -size 1000x750 plasma:fractal -resize 4000x3000\! \
      -attenuate 0.6 +noise Gaussian -sampling-factor 2x2 -quality 90 "$photo"
    exiftool -q -overwrite_original -Make=Bench -Model="Corpus $i" -DateTimeOriginal="2026:06:01 12:00:00" \
      -ExposureTime=1/125 -FNumber=5.6 -FocalLength=35 -ISO=200 "$photo"
  done
}

photos() { ls "$corpus"/photo_*.jpg | head -n "$count"; }
half() { photos | awk -v part="$1" 'NR % 2 == part'; }
make_corpus

# One timed run of a shell command: "wall user+sys peak-kB".
measure() {
  local out=$work/out
  rm -rf "$out" && mkdir -p "$out"
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" bash -c "$1" >/dev/null 2>"$work/stderr" \
    || { echo "failed: $1" >&2; cat "$work/stderr" >&2; return 1; }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

declare -A cmds
order=()
add() { order+=("$1"); cmds[$1]=$2; }

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

cd "$work"
mkdir -p "$vhome/config"
# Rounds over all tools rather than all runs of one tool after another, so a
# change in the machine's load falls on every tool alike.
declare -A results wall cpu mem
for ((r = 0; r < runs; ++r)); do
  for name in "${order[@]}"; do results[$name]+="$(measure "${cmds[$name]}")"$'\n'; done
done
for name in "${order[@]}"; do
  median=$(printf '%s' "${results[$name]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  read -r w c m <<<"$median"
  wall[$name]=$w cpu[$name]=$c mem[$name]=$m
done

ours=${wall["vistrel gallery --jobs 2"]}
echo "$count photos of 12 MP, median of $runs runs, $(nproc) cores, $(date -u +%F)"
printf '| %-40s | %8s | %8s | %9s | %12s |\n' tool "wall s" "CPU s" "peak MB" "wall / ours"
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..42})" ---------- ---------- ----------- --------------
for name in "${order[@]}"; do
  printf '| %-40s | %8s | %8s | %9d | %12.2f |\n' "$name" "${wall[$name]}" "${cpu[$name]}" \
    $((mem[$name] / 1024)) "$(echo "${wall[$name]} / $ours" | bc -l)"
done
echo "(peak MB: the largest single process; CPU s: user + system of all processes)"
